#pragma once
// Another program at work on the test's files: a shell command run outside this process, waited
// for. Under Wine it is a Unix program, which Windows' sharing rules hold back no more than they
// hold back a user's rm, ln or truncate; natively it is the shell. On a Windows that is not Wine
// there is no such shell, and the tests that need one are skipped.

#include <initializer_list>
#include <string>
#include <string_view>

// A command of words joined by blanks.
inline std::string Words(std::initializer_list<std::string_view> words)
{
    std::string command;
    for (std::string_view word : words)
        command.append(command.empty() ? "" : " ").append(word);
    return command;
}

#ifdef _WIN32
#include <windows.h>

#include <fstream>
#include <sstream>
#else
#include <cstdlib>
#endif

#ifdef _WIN32
inline bool CanRunOutside()
{
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// A Windows path as the Unix shell names it (UTF-8), or an empty text.
inline std::string UnixPath(const std::wstring& path)
{
    using ToUnix = char*(__cdecl*)(const wchar_t*);
    const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* unix = toUnix ? toUnix(path.c_str()) : nullptr;
    if (!unix)
        return std::string();
    std::string text(unix);
    ::HeapFree(::GetProcessHeap(), 0, unix);
    return text;
}

// Runs command (UTF-8, no double quotes) with sh in the current folder; true when it exited 0.
// Wine starts a Unix program without a process handle: its end is seen by the file it leaves.
inline bool RunOutside(const std::string& command)
{
    // Named by the process: tests run side by side in one folder.
    const std::wstring id = std::to_wstring(::GetCurrentProcessId());
    const std::wstring done = L"outside." + id + L".done";
    ::DeleteFileW(done.c_str());
    std::wstring line(command.size(), L'\0');
    line.resize(static_cast<std::size_t>(
        ::MultiByteToWideChar(CP_UTF8, 0, command.data(), static_cast<int>(command.size()),
                              line.data(), static_cast<int>(line.size()))));
    line = L"sh -c \"" + line + L"; echo $? >outside." + id + L".tmp && mv outside." + id +
           L".tmp " + done + L"\"";
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!::CreateProcessW(L"Z:\\bin\\sh", line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &si, &pi))
        return false;
    if (pi.hProcess)
        ::CloseHandle(pi.hProcess);
    if (pi.hThread)
        ::CloseHandle(pi.hThread);
    for (const DWORD start = ::GetTickCount();
         ::GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES; ::Sleep(10))
        if (::GetTickCount() - start > 10000)
            return false;
    std::ostringstream status;
    status << std::ifstream(done.c_str()).rdbuf();
    ::DeleteFileW(done.c_str());
    return status.str() == "0\n";
}
#else
inline bool CanRunOutside()
{
    return true;
}

inline bool RunOutside(const std::string& command)
{
    return std::system(command.c_str()) == 0;
}
#endif
