// Text conversions on Windows, by the system's own converters: GBK and UTF-8 to and from the
// window system's UTF-16, and the console's GB18030.
#include "TextConversion.h"

#include "core/GbkText.h"

#include <windows.h>

#include <string>

namespace {

// Win32's converters count in int, and a 64-bit process can hold longer texts: those go through in
// pieces of at most CONVERT_PIECE units, each ending on a whole character.
std::size_t NarrowPieceEnd(std::string_view text, UINT codePage, std::size_t piece)
{
    if (text.size() <= piece)
        return text.size();
    if (codePage == CP_UTF8) {
        // Back over the continuation bytes (at most three) to the start of the character cut.
        std::size_t end = piece;
        for (int back = 0; back < 3 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80;
             ++back)
            --end;
        return end;
    }
    std::size_t end = 0; // GBK, without an orphaned lead
    for (;;) {
        const std::size_t next = end + (IsGbkLead(static_cast<unsigned char>(text[end])) ? 2 : 1);
        if (next > piece)
            return end;
        end = next;
    }
}

std::size_t WidePieceEnd(std::wstring_view wide, std::size_t piece)
{
    if (wide.size() <= piece)
        return wide.size();
    return IS_HIGH_SURROGATE(wide[piece - 1]) ? piece - 1 : piece;
}

// Appends text in the code page to wide; false when the converter refused a piece (with
// MB_ERR_INVALID_CHARS: the text is not valid in the code page).
bool AppendWide(std::wstring& wide, std::string_view text, UINT codePage, DWORD flags,
                std::size_t piece)
{
    while (!text.empty()) {
        const std::string_view part = text.substr(0, NarrowPieceEnd(text, codePage, piece));
        const int size = static_cast<int>(part.size());
        const int n = MultiByteToWideChar(codePage, flags, part.data(), size, nullptr, 0);
        if (n <= 0)
            return false;
        const std::size_t at = wide.size();
        wide.resize(at + static_cast<std::size_t>(n));
        MultiByteToWideChar(codePage, flags, part.data(), size, wide.data() + at, n);
        text.remove_prefix(part.size());
    }
    return true;
}

} // namespace

void AppendFromWide(std::string& out, std::wstring_view wide, unsigned codePage, bool* lossy,
                    std::size_t piece)
{
    if (lossy)
        *lossy = false;
    while (!wide.empty()) {
        const std::wstring_view part = wide.substr(0, WidePieceEnd(wide, piece));
        const int size = static_cast<int>(part.size());
        BOOL usedDefault = FALSE;
        BOOL* const used = lossy ? &usedDefault : nullptr;
        const int n =
            WideCharToMultiByte(codePage, 0, part.data(), size, nullptr, 0, nullptr, used);
        if (n <= 0)
            break;
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(n));
        WideCharToMultiByte(codePage, 0, part.data(), size, out.data() + at, n, nullptr, used);
        if (lossy)
            *lossy = *lossy || usedDefault;
        wide.remove_prefix(part.size());
    }
}

std::wstring WideFromGbk(std::string_view gbk, std::size_t piece)
{
    // A lead byte without its trail becomes U+FFFD on its own: some converters take the byte after
    // it (a '-', the CR of a line end) as its trail and lose it.
    std::wstring wide;
    std::size_t from = 0;
    for (std::size_t orphan; (orphan = FindOrphanLead(gbk, from)) != std::string_view::npos;
         from = orphan + 1) {
        AppendWide(wide, gbk.substr(from, orphan - from), CP_GBK, 0, piece);
        wide += L'\xFFFD';
    }
    AppendWide(wide, gbk.substr(from), CP_GBK, 0, piece);
    return wide;
}

std::wstring WideFromUtf8(std::string_view utf8, std::size_t piece)
{
    std::wstring wide;
    AppendWide(wide, utf8, CP_UTF8, 0, piece);
    return wide;
}

bool WideFromStrictUtf8(std::string_view utf8, std::wstring& wide, std::size_t piece)
{
    wide.clear();
    if (AppendWide(wide, utf8, CP_UTF8, MB_ERR_INVALID_CHARS, piece))
        return true;
    wide.clear();
    return false;
}

void AppendUtf8FromGbk(std::string_view gbk, std::string& utf8, std::size_t piece)
{
    AppendFromWide(utf8, WideFromGbk(gbk, piece), CP_UTF8, nullptr, piece);
}

CString GbkFromWide(std::wstring_view wide, bool* lossy, std::size_t piece)
{
    std::string gbk;
    AppendFromWide(gbk, wide, CP_GBK, lossy, piece);
    return CString(std::move(gbk));
}

void AppendUtf8FromGbk(std::string_view gbk, std::string& utf8)
{
    AppendUtf8FromGbk(gbk, utf8, CONVERT_PIECE);
}

std::string Utf8FromWide(std::wstring_view wide)
{
    std::string utf8;
    AppendFromWide(utf8, wide, CP_UTF8);
    return utf8;
}

bool IsUtf8(std::string_view bytes)
{
    std::wstring wide;
    return bytes.empty() || WideFromStrictUtf8(bytes, wide);
}

bool GbkFromUtf8(std::string_view utf8, std::string& gbk)
{
    gbk.clear();
    if (utf8.empty())
        return true;
    std::wstring wide;
    if (!WideFromStrictUtf8(utf8, wide))
        return false;
    bool lossy = false;
    gbk = GbkFromWide(wide, &lossy).Str();
    return !lossy;
}

namespace {
constexpr UINT CP_GB18030 = 54936;
}

bool CanWriteGb18030()
{
    char byte;
    return WideCharToMultiByte(CP_GB18030, 0, L"a", 1, &byte, 1, nullptr, nullptr) == 1;
}

void AppendGb18030FromUtf8(std::string_view utf8, std::string& gb18030)
{
    AppendFromWide(gb18030, WideFromUtf8(utf8), CP_GB18030);
}
