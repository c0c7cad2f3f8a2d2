#include "TextWrap.h"

#include <vector>

namespace {

// One code point's UTF-8 bytes from text at i, and i moved past them.
std::string_view NextCharacter(std::string_view text, std::size_t& i, char32_t& code)
{
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t n = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
    code = n == 1 ? lead : lead & (0x7F >> n);
    for (std::size_t k = 1; k < n && i + k < text.size(); ++k)
        code = code << 6 | (static_cast<unsigned char>(text[i + k]) & 0x3F);
    const std::string_view bytes = text.substr(i, n);
    i += n;
    return bytes;
}

bool Wide(char32_t c)
{
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
}

constexpr std::u32string_view CLOSING = U"，。、；：！？）》」』”’";
constexpr std::u32string_view OPENING = U"（《「『“‘";

// A piece that is never broken: a run of narrow characters, or one wide character.
struct Piece {
    std::string text;
    std::size_t columns = 0;
    bool spaceBefore = false; // a space stood before it
    bool joined = false;      // no line may end before it
};

} // namespace

std::size_t TextColumns(std::string_view utf8)
{
    std::size_t columns = 0;
    char32_t code;
    for (std::size_t i = 0; i < utf8.size();) {
        NextCharacter(utf8, i, code);
        columns += Wide(code) ? 2 : 1;
    }
    return columns;
}

std::string WrapText(std::string_view utf8, std::size_t width, std::size_t first,
                     std::size_t indent)
{
    std::vector<Piece> pieces;
    bool space = false, afterOpening = false, inWord = false;
    char32_t code;
    for (std::size_t i = 0; i < utf8.size();) {
        const std::string_view bytes = NextCharacter(utf8, i, code);
        if (code == U' ') {
            space = true;
            inWord = false;
            continue;
        }
        const bool wide = Wide(code) || OPENING.find(code) != std::u32string_view::npos ||
                          CLOSING.find(code) != std::u32string_view::npos;
        if (!wide && inWord && !space) {
            pieces.back().text += bytes;
            ++pieces.back().columns;
            continue;
        }
        const bool closing = CLOSING.find(code) != std::u32string_view::npos;
        pieces.push_back(
            {std::string(bytes), Wide(code) ? 2u : 1u, space, !space && (closing || afterOpening)});
        afterOpening = OPENING.find(code) != std::u32string_view::npos;
        inWord = !wide;
        space = false;
    }
    std::string out;
    std::size_t column = first;
    bool lineEmpty = true;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const Piece& piece = pieces[k];
        // The piece and those joined to it go on one line.
        std::size_t need = piece.columns;
        for (std::size_t j = k + 1; j < pieces.size() && pieces[j].joined; ++j)
            need += pieces[j].columns;
        const std::size_t gap = piece.spaceBefore && !lineEmpty ? 1 : 0;
        if (!lineEmpty && !piece.joined && column + gap + need > width) {
            out += '\n';
            out.append(indent, ' ');
            column = indent;
        } else if (gap) {
            out += ' ';
            ++column;
        }
        out += piece.text;
        column += piece.columns;
        lineEmpty = false;
    }
    return out;
}
