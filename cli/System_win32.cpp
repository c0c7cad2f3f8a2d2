// The command line's system calls on Windows: wide-character files and consoles, so that names and
// texts work whatever the system's code page is.
#include "System.h"

#include "StartRules.h"
#include "platform/ProgramSearch.h"
#include "platform/SystemError.h"
#include "platform/TextConversion.h"
#include "platform/WriteAll.h"

#include <windows.h>

#include <objbase.h>
#include <shellapi.h>

#include <algorithm>

namespace {

// A batch file's command line for cmd.exe (its path found, or as named when it is not there);
// else why its arguments cannot reach it as they are. Nothing to do for any other program.
std::optional<std::string> BatchLine(const std::vector<std::string>& wordsUtf8,
                                     const std::wstring& found, const Words& w, std::wstring& line)
{
    const std::string path = found.empty() ? wordsUtf8.front() : Utf8FromWide(found);
    const std::vector<std::string> args(wordsUtf8.begin() + 1, wordsUtf8.end());
    std::string text;
    if (const auto refusal = BatchCommandText(path, args, text))
        return BatchRefusalText(w, wordsUtf8.front(), *refusal,
                                refusal->argument == 0 ? path : args[refusal->argument - 1]);
    // The switches first: no AutoRun commands, extensions on, no !delayed! expansion, and /s to
    // take off exactly the outer pair of quotes.
    line = L"cmd.exe /d /e:ON /v:OFF /s /c " + WideFromUtf8(text);
    return std::nullopt;
}

bool IsBatch(const std::vector<std::string>& wordsUtf8, const std::wstring& found)
{
    return NamesABatchFile(wordsUtf8.front()) ||
           (!found.empty() && NamesABatchFile(Utf8FromWide(found)));
}

class HandleDevice : public Device {
public:
    HandleDevice(HANDLE h, bool owned) : m_h(h), m_owned(owned)
    {
        DWORD mode;
        m_console = GetConsoleMode(h, &mode) != 0;
    }
    ~HandleDevice() override
    {
        if (m_owned && m_h != INVALID_HANDLE_VALUE)
            CloseHandle(m_h);
    }

    WriteStatus Write(std::string_view bytes) override
    {
        const DWORD error = WriteAll(m_h, bytes);
        return error ? Failure(error) : WriteStatus::Ok;
    }

    bool IsConsole() const override { return m_console; }
    bool IsTerminal() const override { return m_console; }

    WriteStatus WriteConsoleText(std::string_view utf8) override
    {
        if (!m_console)
            return Write(utf8);
        const std::wstring wide = WideFromUtf8(utf8);
        std::wstring_view rest = wide;
        while (!rest.empty()) {
            // In pieces, never splitting a surrogate pair: a console takes a limited write.
            std::size_t n = std::min<std::size_t>(rest.size(), 8192);
            if (n < rest.size() && IS_HIGH_SURROGATE(rest[n - 1]))
                --n;
            DWORD done = 0;
            if (!WriteConsoleW(m_h, rest.data(), static_cast<DWORD>(n), &done, nullptr) ||
                done == 0)
                return Failure(GetLastError());
            rest.remove_prefix(done);
        }
        return WriteStatus::Ok;
    }

    WriteStatus Finish() override
    {
        if (!m_owned || m_h == INVALID_HANDLE_VALUE)
            return WriteStatus::Ok;
        HANDLE h = m_h;
        m_h = INVALID_HANDLE_VALUE;
        return CloseHandle(h) ? WriteStatus::Ok : Failure(GetLastError());
    }

    std::string ErrorText() const override { return m_error ? SystemErrorUtf8(m_error) : ""; }

private:
    WriteStatus Failure(DWORD error)
    {
        m_error = error;
        // The reader went away: a pipe closed (Windows says either of the first two) or a pipe
        // server that disconnected us (and Wine, for a Unix pipe whose reader closed it).
        const bool readerGone = error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA ||
                                error == ERROR_PIPE_NOT_CONNECTED;
        return readerGone ? WriteStatus::Closed : WriteStatus::Failed;
    }

    HANDLE m_h;
    bool m_owned;
    bool m_console = false;
    DWORD m_error = 0;
};

std::atomic<bool> g_interrupted{false};

// Runs on a thread of its own. TRUE keeps the process alive for the run to stop by itself; a
// second interrupt goes on to the system's handler, which ends the process.
BOOL WINAPI OnConsoleControl(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    return g_interrupted.exchange(true) ? FALSE : TRUE;
}

} // namespace

namespace cli_system {

bool OpenStandardStreams()
{
    return true; // a closed standard handle is null: no file is ever handed its place
}

const std::atomic<bool>* CatchInterrupt()
{
    SetConsoleCtrlHandler(OnConsoleControl, TRUE);
    return &g_interrupted;
}

void EndAsInterrupted(Interruption)
{
    // The status alone says it: STATUS_CONTROL_C_EXIT is what an interrupted program ends with.
}

std::uint64_t MemoryBytes()
{
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    if (!GlobalMemoryStatusEx(&status))
        return UINT64_MAX;
    // A 32-bit process can address 2 or 4 GiB, however much the machine has.
    return std::min<std::uint64_t>(status.ullTotalPhys, status.ullTotalVirtual);
}

std::unique_ptr<Device> StandardOutput()
{
    return std::make_unique<HandleDevice>(GetStdHandle(STD_OUTPUT_HANDLE), false);
}

std::unique_ptr<Device> StandardError()
{
    return std::make_unique<HandleDevice>(GetStdHandle(STD_ERROR_HANDLE), false);
}

std::unique_ptr<Device> CreateFileDevice(const std::string& pathUtf8, std::string& error)
{
    const std::wstring path = WideFromUtf8(pathUtf8);
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = SystemErrorUtf8(GetLastError());
        return nullptr;
    }
    return std::make_unique<HandleDevice>(h, true);
}

bool TextIsGb18030()
{
    return false; // a console takes UTF-16, anything else the bytes as they are
}

Language MessageLanguage()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_CHINESE ? Language::Chinese
                                                                     : Language::English;
}

double MonotonicSeconds()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void SleepMilliseconds(int ms)
{
    Sleep(static_cast<DWORD>(ms));
}

Timestamp Now()
{
    SYSTEMTIME utc, t;
    GetSystemTime(&utc);
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &t))
        t = utc;
    // The offset: the two times apart, in minutes (FILETIME counts 100 ns).
    FILETIME u, l;
    SystemTimeToFileTime(&utc, &u);
    SystemTimeToFileTime(&t, &l);
    const auto ticks = [](const FILETIME& f) {
        return static_cast<long long>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) |
                                      f.dwLowDateTime);
    };
    return {{t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond},
            t.wMilliseconds,
            static_cast<int>((ticks(l) - ticks(u)) / 600000000LL)};
}

bool StartProgram(const std::string& programUtf8, const Words&, std::string& why)
{
    static const HRESULT com =
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    (void)com;
    const std::wstring program = WideFromUtf8(programUtf8);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_FLAG_NO_UI; // the reason goes to standard error, not into a box
    info.lpVerb = L"open";
    info.lpFile = program.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExW(&info))
        return true;
    why = SystemErrorUtf8(GetLastError());
    return false;
}

std::optional<std::string> RefuseCommand(const std::vector<std::string>& wordsUtf8, const Words& w)
{
    std::wstring found, line;
    FindProgram(WideFromUtf8(wordsUtf8.front()), found);
    if (!IsBatch(wordsUtf8, found) || IsFolder(found))
        return std::nullopt;
    return BatchLine(wordsUtf8, found, w, line);
}

bool StartCommand(const std::vector<std::string>& wordsUtf8, const Words& w, std::string& why)
{
    // Found as CreateProcess finds a program: beside us, in the current folder, the system's
    // folders, then PATH; ".exe" is added to a name without an extension.
    std::wstring found;
    FindProgram(WideFromUtf8(wordsUtf8.front()), found);
    if (IsFolder(found)) {
        why = FolderText(w);
        return false;
    }
    // CreateProcess would hand a batch file to cmd.exe with the line quoted for a program, and
    // cmd.exe would act on its & | % ^: the line is written for cmd.exe here, with the batch
    // file's path as found, or refused.
    std::wstring application, line;
    if (IsBatch(wordsUtf8, found)) {
        if (found.empty()) {
            why = SystemErrorUtf8(ERROR_FILE_NOT_FOUND);
            return false;
        }
        if (const auto refusal = BatchLine(wordsUtf8, found, w, line)) {
            why = *refusal;
            return false;
        }
        application = SystemFolder() + L"\\cmd.exe";
    } else {
        for (const std::string& word : wordsUtf8) {
            if (!line.empty())
                line += L' ';
            AppendQuotedArgument(line, WideFromUtf8(word));
        }
    }
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(application.empty() ? nullptr : application.c_str(), line.data(), nullptr,
                        nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        why = SystemErrorUtf8(GetLastError());
        return false;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    return true;
}

} // namespace cli_system
