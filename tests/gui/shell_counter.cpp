// A tiny program for the interval page's tests: each start appends one line to the file named
// like the program with ".count" added, so a test can count how often the shell opened it. Started
// with an argument (as the handler of a web address), it also appends that argument as one UTF-16
// line to the file with ".args" added, so a test can see what the shell handed on.
#include <windows.h>

#include <shellapi.h>

#include <string>

namespace {

// Several starts may overlap: open with retries, appending whole records.
bool Append(const std::wstring& file, const void* bytes, DWORD size)
{
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE h =
            ::CreateFileW(file.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            const BOOL ok = ::WriteFile(h, bytes, size, &written, nullptr);
            ::CloseHandle(h);
            return ok && written == size;
        }
        ::Sleep(10);
    }
    return false;
}

} // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argv && argc > 1) {
        const std::wstring line = std::wstring(argv[1]) + L"\r\n";
        if (!Append(std::wstring(path) + L".args", line.data(),
                    static_cast<DWORD>(line.size() * sizeof(wchar_t))))
            return 1;
    }
    ::LocalFree(argv);
    return Append(std::wstring(path) + L".count", "opened\r\n", 8) ? 0 : 1;
}
