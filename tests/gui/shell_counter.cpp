// A tiny program for the interval page's tests: each start appends one line to the file named
// like the program with ".count" added, so a test can count how often the shell opened it.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    wchar_t path[MAX_PATH];
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring counter = std::wstring(path) + L".count";
    // Several starts may overlap: open with retries, appending whole lines.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE h =
            ::CreateFileW(counter.c_str(), FILE_APPEND_DATA, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD written;
            ::WriteFile(h, "opened\r\n", 8, &written, nullptr);
            ::CloseHandle(h);
            return 0;
        }
        ::Sleep(10);
    }
    return 1;
}
