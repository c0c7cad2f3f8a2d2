// The library's platform calls on Windows: wide-character file functions, so that paths work
// whatever the system's ANSI code page is.
#include "Platform.h"
#include "WideText.h"
#include "core/GbkText.h"

#include <windows.h>

#include <shlobj.h>
#include <string>

namespace {
void AppendWide(std::wstring& wide, std::string_view gbk)
{
    if (gbk.empty())
        return;
    const int n =
        MultiByteToWideChar(CP_GBK, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    const std::size_t at = wide.size();
    wide.resize(at + static_cast<std::size_t>(n));
    MultiByteToWideChar(CP_GBK, 0, gbk.data(), static_cast<int>(gbk.size()), wide.data() + at, n);
}
} // namespace

std::wstring WideFromGbk(std::string_view gbk)
{
    // A lead byte without its trail becomes U+FFFD on its own: some converters take the byte after
    // it (a '-', the CR of a line end) as its trail and lose it.
    std::wstring wide;
    std::size_t from = 0;
    for (std::size_t orphan; (orphan = FindOrphanLead(gbk, from)) != std::string_view::npos;
         from = orphan + 1) {
        AppendWide(wide, gbk.substr(from, orphan - from));
        wide += L'\xFFFD';
    }
    AppendWide(wide, gbk.substr(from));
    return wide;
}

void AppendUtf8FromGbk(std::string_view gbk, std::string& utf8)
{
    const std::wstring wide = WideFromGbk(gbk);
    if (wide.empty())
        return;
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, nullptr);
    const std::size_t at = utf8.size();
    utf8.resize(at + static_cast<std::size_t>(n));
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), utf8.data() + at, n,
                        nullptr, nullptr);
}

CString GbkFromWide(std::wstring_view wide, bool* lossy)
{
    if (lossy)
        *lossy = false;
    if (wide.empty())
        return CString();
    BOOL usedDefault = FALSE;
    const int n = WideCharToMultiByte(CP_GBK, 0, wide.data(), static_cast<int>(wide.size()),
                                      nullptr, 0, nullptr, &usedDefault);
    std::string gbk(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_GBK, 0, wide.data(), static_cast<int>(wide.size()), gbk.data(), n,
                        nullptr, &usedDefault);
    if (lossy)
        *lossy = usedDefault != FALSE;
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

CString SystemErrorText(unsigned long error)
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
    if (wide.empty())
        wide = L"\x9519\x8bef " + std::to_wstring(error); // 错误 <number>
    return GbkFromWide(wide);
}
