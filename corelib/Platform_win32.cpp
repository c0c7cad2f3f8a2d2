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
// A piece holds at least 2 units, so that each takes at least one character.
std::size_t GbkPieceEnd(std::string_view gbk, std::size_t piece) // gbk has no orphaned lead
{
    if (gbk.size() <= piece)
        return gbk.size();
    std::size_t end = 0;
    for (;;) {
        const std::size_t next = end + (IsGbkLead(static_cast<unsigned char>(gbk[end])) ? 2 : 1);
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

void AppendWide(std::wstring& wide, std::string_view gbk, std::size_t piece)
{
    while (!gbk.empty()) {
        const std::string_view part = gbk.substr(0, GbkPieceEnd(gbk, piece));
        const int size = static_cast<int>(part.size());
        const int n = MultiByteToWideChar(CP_GBK, 0, part.data(), size, nullptr, 0);
        const std::size_t at = wide.size();
        wide.resize(at + static_cast<std::size_t>(n));
        MultiByteToWideChar(CP_GBK, 0, part.data(), size, wide.data() + at, n);
        gbk.remove_prefix(part.size());
    }
}

// Appends wide to out in the code page, telling whether a character had no form there.
bool AppendNarrow(std::string& out, std::wstring_view wide, UINT codePage, std::size_t piece)
{
    bool lossy = false;
    while (!wide.empty()) {
        const std::wstring_view part = wide.substr(0, WidePieceEnd(wide, piece));
        const int size = static_cast<int>(part.size());
        BOOL usedDefault = FALSE;
        BOOL* const used = codePage == CP_UTF8 ? nullptr : &usedDefault; // UTF-8 spells all
        const int n =
            WideCharToMultiByte(codePage, 0, part.data(), size, nullptr, 0, nullptr, used);
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(n));
        WideCharToMultiByte(codePage, 0, part.data(), size, out.data() + at, n, nullptr, used);
        lossy = lossy || usedDefault;
        wide.remove_prefix(part.size());
    }
    return lossy;
}

} // namespace

std::wstring WideFromGbk(std::string_view gbk, std::size_t piece)
{
    // A lead byte without its trail becomes U+FFFD on its own: some converters take the byte after
    // it (a '-', the CR of a line end) as its trail and lose it.
    std::wstring wide;
    std::size_t from = 0;
    for (std::size_t orphan; (orphan = FindOrphanLead(gbk, from)) != std::string_view::npos;
         from = orphan + 1) {
        AppendWide(wide, gbk.substr(from, orphan - from), piece);
        wide += L'\xFFFD';
    }
    AppendWide(wide, gbk.substr(from), piece);
    return wide;
}

void AppendUtf8FromGbk(std::string_view gbk, std::string& utf8, std::size_t piece)
{
    AppendNarrow(utf8, WideFromGbk(gbk, piece), CP_UTF8, piece);
}

CString GbkFromWide(std::wstring_view wide, bool* lossy, std::size_t piece)
{
    std::string gbk;
    const bool replaced = AppendNarrow(gbk, wide, CP_GBK, piece);
    if (lossy)
        *lossy = replaced;
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
