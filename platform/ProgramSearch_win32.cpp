#include "ProgramSearch.h"

#include <windows.h>

void AppendQuotedArgument(std::wstring& line, const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) {
        line += arg;
        return;
    }
    line += L'"';
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        line.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        line += c;
    }
    line.append(backslashes * 2, L'\\');
    line += L'"';
}

namespace {

// A system folder's path (GetSystemDirectoryW, GetWindowsDirectoryW).
template <class Get> std::wstring SystemPath(Get get)
{
    wchar_t path[MAX_PATH + 1];
    const UINT n = get(path, MAX_PATH + 1);
    return n > 0 && n <= MAX_PATH ? std::wstring(path, n) : std::wstring();
}

// The folders CreateProcess looks through for a program, in its order: this program's own, the
// current one (unless NoDefaultCurrentDirectoryInExePath is set), the system folder, the 16-bit
// system folder, the Windows folder, then PATH.
// The longest path and environment variable Windows holds, its terminating zero included.
constexpr DWORD LONGEST_SYSTEM_TEXT = 32768;

std::wstring ProgramSearchPath(const std::wstring& name)
{
    std::wstring self(LONGEST_SYSTEM_TEXT, L'\0');
    self.resize(GetModuleFileNameW(nullptr, self.data(), static_cast<DWORD>(self.size())));
    std::wstring path = self.substr(0, self.find_last_of(L"\\/")) + L';';
    if (NeedCurrentDirectoryForExePathW(name.c_str()))
        path += L".;";
    const std::wstring windows = SystemPath(GetWindowsDirectoryW);
    path += SystemPath(GetSystemDirectoryW) + L';' + windows + L"\\System;" + windows + L';';
    std::wstring variable(LONGEST_SYSTEM_TEXT, L'\0');
    const DWORD n = GetEnvironmentVariableW(L"PATH", variable.data(), LONGEST_SYSTEM_TEXT);
    if (n > 0 && n < LONGEST_SYSTEM_TEXT)
        path.append(variable, 0, n);
    return path;
}

} // namespace

std::wstring SystemFolder()
{
    return SystemPath(GetSystemDirectoryW);
}

bool FindProgram(const std::wstring& name, std::wstring& found)
{
    const std::wstring path = ProgramSearchPath(name);
    for (const wchar_t* extension : {L".exe", static_cast<const wchar_t*>(nullptr)}) {
        const DWORD size = SearchPathW(path.c_str(), name.c_str(), extension, 0, nullptr, nullptr);
        if (size == 0)
            continue;
        found.assign(size, L'\0');
        const DWORD n =
            SearchPathW(path.c_str(), name.c_str(), extension, size, found.data(), nullptr);
        if (n > 0 && n < size) {
            found.resize(n);
            return true;
        }
    }
    found.clear();
    return false;
}

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}
