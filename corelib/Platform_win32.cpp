// The library's platform calls on Windows: wide-character file functions, so that paths work
// whatever the system's ANSI code page is.
#include "Platform.h"
#include "WideText.h"
#include "core/GbkText.h"

#include <windows.h>

#include <shlobj.h>
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

namespace corelib {

CString ProgramPath()
{
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0)
            return CString();
        if (n < buf.size()) {
            buf.resize(n);
            break;
        }
        buf.resize(buf.size() * 2);
    }
    bool lossy;
    CString path = GbkFromWide(buf, &lossy);
    return lossy ? CString() : path; // a name GBK cannot spell could not be opened again
}

CString UserDataFolder()
{
    wchar_t base[MAX_PATH];
    std::wstring folder;
    if (SUCCEEDED(
            SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, base)))
        folder = base;
    else if (GetTempPathW(MAX_PATH, base) > 0)
        folder = base;
    bool lossy;
    CString gbk = GbkFromWide(folder, &lossy);
    if (lossy || folder.empty()) { // a user name GBK cannot spell: the temporary folder instead
        GetTempPathW(MAX_PATH, base);
        folder = base;
        gbk = GbkFromWide(folder, &lossy);
    }
    if (!gbk.IsEmpty() && gbk[gbk.size() - 1] != '\\')
        gbk += '\\';
    gbk += "Zanfor";
    CreateDirectoryW(WideFromGbk(gbk.View()).c_str(), nullptr);
    return gbk + "\\";
}

bool CanCreateBeside(const CString& path)
{
    const std::wstring probe =
        WideFromGbk(path.View()) + L".write-test." + std::to_wstring(GetCurrentProcessId());
    HANDLE h = CreateFileW(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(h);
    return true;
}

std::FILE* OpenForAppend(const CString& path)
{
    return _wfopen(WideFromGbk(path.View()).c_str(), L"ab");
}

} // namespace corelib

std::wstring SystemErrorWords(unsigned long error)
{
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring wide(text ? text : L"", n);
    if (text)
        LocalFree(text);
    while (!wide.empty() && (wide.back() == L'\r' || wide.back() == L'\n' || wide.back() == L' '))
        wide.pop_back();
    return wide;
}

CString SystemErrorText(unsigned long error)
{
    std::wstring wide = SystemErrorWords(error);
    if (wide.empty())
        wide = L"\x9519\x8bef " + std::to_wstring(error); // 错误 <number>
    return GbkFromWide(wide);
}
