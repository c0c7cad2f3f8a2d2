// The library's file-system calls on Windows: wide-character file functions, so that paths work
// whatever the system's ANSI code page is.
#include "FileSystem.h"
#include "TextConversion.h"

#include <windows.h>

#include <shlobj.h>
#include <string>

namespace platform {

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

} // namespace platform
