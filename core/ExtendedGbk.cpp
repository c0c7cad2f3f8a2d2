#include "ExtendedGbk.h"

#include <cstdio>

void AppendBeyondGbk(std::string& out, char32_t cp)
{
    out += static_cast<char>(BEYOND_GBK_LEAD);
    for (int shift = 14; shift >= 0; shift -= 7)
        out += static_cast<char>(0x80 | ((cp >> shift) & 0x7F));
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool DecodeUtf8(std::string_view text, std::size_t at, char32_t& cp, std::size_t& n)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    n = lead < 0x80                   ? 1
        : lead >= 0xC2 && lead < 0xE0 ? 2
        : lead >= 0xE0 && lead < 0xF0 ? 3
        : lead >= 0xF0 && lead < 0xF5 ? 4
                                      : 0;
    if (n == 0 || at + n > text.size())
        return false;
    cp = n == 1 ? lead : lead & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return false;
        cp = cp << 6 | (byte(i) & 0x3F);
    }
    // The shortest form only, no surrogates, nothing past U+10FFFF.
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    return cp >= least[n] && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
}

bool ExtendedGbkFromUtf8(std::string_view utf8, SpellGbk spell, std::string& out)
{
    out.clear();
    std::string gbk;
    for (std::size_t at = 0, n = 0; at < utf8.size(); at += n) {
        char32_t cp;
        if (!DecodeUtf8(utf8, at, cp, n))
            return false;
        if (cp < 0x80)
            out += static_cast<char>(cp);
        else if (spell(utf8.substr(at, n), gbk))
            out += gbk;
        else
            AppendBeyondGbk(out, cp);
    }
    return true;
}

std::string FirstBeyondGbk(std::string_view utf8, SpellGbk spell)
{
    std::string gbk;
    for (std::size_t at = 0, n = 0; at < utf8.size(); at += n) {
        char32_t cp;
        if (!DecodeUtf8(utf8, at, cp, n))
            return {};
        if (cp >= 0x80 && !spell(utf8.substr(at, n), gbk))
            return std::string(utf8.substr(at, n));
    }
    return {};
}

std::string CodePointName(std::string_view utf8Character)
{
    char32_t cp = 0;
    std::size_t n;
    DecodeUtf8(utf8Character, 0, cp, n);
    char name[16];
    std::snprintf(name, sizeof name, "U+%04X", static_cast<unsigned>(cp));
    return name;
}

void AppendUtf8FromExtendedGbk(std::string_view text, GbkToUtf8 gbkToUtf8, std::string& utf8)
{
    for (std::size_t lead;
         (lead = text.find(static_cast<char>(BEYOND_GBK_LEAD))) != std::string_view::npos;) {
        gbkToUtf8(text.substr(0, lead), utf8);
        char32_t cp = 0;
        std::size_t n = 1;
        while (n < BEYOND_GBK_BYTES && lead + n < text.size() &&
               (static_cast<unsigned char>(text[lead + n]) & 0x80))
            cp = cp << 7 | (text[lead + n++] & 0x7F);
        // Only what the form can hold: a cut one is not taken for a control or a surrogate.
        const bool whole =
            n == BEYOND_GBK_BYTES && cp >= 0x80 && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
        AppendUtf8(utf8, whole ? cp : U'\xFFFD');
        text.remove_prefix(lead + n); // a cut form's piece goes whole
    }
    gbkToUtf8(text, utf8);
}
