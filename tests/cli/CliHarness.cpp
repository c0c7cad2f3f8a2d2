#include "CliHarness.h"

#include "cli/System.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

void FakeClock::WaitUntil(double deadline, const std::atomic<bool>* stop)
{
    if (!hold) {
        if (deadline > m_now)
            m_now = deadline;
        return;
    }
    // Held: until the run is stopped, within a minute of the test's own time.
    waiting = true;
    const double start = cli_system::MonotonicSeconds();
    while (!(stop && *stop) && cli_system::MonotonicSeconds() - start < 60)
        cli_system::SleepMilliseconds(1);
    waiting = false;
}

Timestamp FakeClock::Now()
{
    const long long ms = static_cast<long long>(m_now * 1000);
    const int second = static_cast<int>(ms / 1000 % 86400);
    return {{2026, 12, 7, second / 3600, second / 60 % 60, second % 60},
            static_cast<int>(ms % 1000),
            8 * 60};
}

WriteStatus MemoryDevice::Write(std::string_view data)
{
    ++writes;
    writeTimes.push_back(clock ? clock->Seconds() : cli_system::MonotonicSeconds());
    if (closeWhen)
        return closeWhen() ? WriteStatus::Closed : WriteStatus::Ok;
    if (bytes.size() + data.size() > room) {
        bytes.append(data.substr(0, room - bytes.size()));
        return failAs;
    }
    bytes.append(data);
    return WriteStatus::Ok;
}

CliRun RunInProcess(const std::vector<std::string>& args, Language language)
{
    MemoryDevice out, err;
    FakeClock clock;
    const int status = RunCli(args, language, out, err, clock);
    return {status, out.bytes, err.bytes};
}

std::vector<std::string> Lines(const std::string& text, const std::string& end)
{
    std::vector<std::string> lines;
    for (std::size_t at = 0, next; (next = text.find(end, at)) != std::string::npos;
         at = next + end.size())
        lines.push_back(text.substr(at, next - at));
    return lines;
}

std::string Utf8Text(const char8_t* text)
{
    return reinterpret_cast<const char*>(text);
}

std::string Utf8Line(const char8_t* text)
{
    return Utf8Text(text) + "\n";
}

std::string FileText(const std::string& path)
{
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[65536];
        for (std::size_t got; (got = std::fread(buf, 1, sizeof buf, f)) > 0;)
            text.append(buf, got);
        std::fclose(f);
    }
    return text;
}

namespace {

// Where the program's standard error goes; one process per test keeps parallel tests apart.
std::string ErrorsFile()
{
#ifdef _WIN32
    return "zanfor_cli_err_" + std::to_string(GetCurrentProcessId()) + ".txt";
#else
    return "zanfor_cli_err_" + std::to_string(getpid()) + ".txt";
#endif
}

std::string TakeErrors()
{
    std::string text = FileText(ErrorsFile());
    std::remove(ErrorsFile().c_str());
    return text;
}

// Waits at most deadlineSeconds for the file to hold bytes.
bool WaitForFile(const std::string& path, std::size_t bytes, double deadlineSeconds)
{
    const double start = cli_system::MonotonicSeconds();
    while (cli_system::MonotonicSeconds() - start < deadlineSeconds) {
        if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
            std::fseek(f, 0, SEEK_END);
            const long size = std::ftell(f);
            std::fclose(f);
            if (size >= 0 && static_cast<std::size_t>(size) >= bytes)
                return true;
        }
        cli_system::SleepMilliseconds(5);
    }
    return false;
}

} // namespace

#ifdef _WIN32

std::string ProgramPath()
{
    // Every program of the Windows build stands in one folder.
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, n);
    return path.substr(0, path.find_last_of("\\/") + 1) + "zanfor-cli.exe";
}

namespace {

HANDLE Inheritable(HANDLE h)
{
    SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return h;
}

HANDLE OpenForWriting(const char* path, DWORD disposition)
{
    return Inheritable(CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                   disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Ignores the Ctrl-C that this process sends to the console it shares with the program.
BOOL WINAPI IgnoreInterrupt(DWORD event)
{
    return event == CTRL_C_EVENT;
}

// A console of our own, which the program then shares (under ctest there is none); our standard
// handles stay as they were. Ignoring Ctrl-C stays set until the process ends: our own Ctrl-C may
// come after the program's.
bool ShareAConsole()
{
    const HANDLE ours[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                           GetStdHandle(STD_ERROR_HANDLE)};
    FreeConsole();
    const bool console = AllocConsole();
    SetStdHandle(STD_INPUT_HANDLE, ours[0]);
    SetStdHandle(STD_OUTPUT_HANDLE, ours[1]);
    SetStdHandle(STD_ERROR_HANDLE, ours[2]);
    return console && SetConsoleCtrlHandler(IgnoreInterrupt, TRUE);
}

} // namespace

ProcessRun RunProgram(const ProgramRun& how)
{
    ProcessRun run;
    if (!how.interruptFile.empty() && !ShareAConsole())
        return run;
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (how.readBytes == 0) {
        writeEnd = OpenForWriting("NUL", OPEN_EXISTING);
    } else if (how.pipeEnd == ProgramRun::Closed) {
        CreatePipe(&readEnd, &writeEnd, nullptr, 0);
    } else {
        const std::string name =
            "\\\\.\\pipe\\zanfor-cli-test-" + std::to_string(GetCurrentProcessId());
        readEnd = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                   0, 65536, 0, nullptr);
        writeEnd = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    }
    HANDLE errors = how.closeStderr ? nullptr : OpenForWriting(ErrorsFile().c_str(), CREATE_ALWAYS);

    std::string command = "\"";
    command += ProgramPath();
    command += '"';
    for (const std::string& a : how.args) {
        command += " \"";
        command += a;
        command += '"';
    }
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = Inheritable(writeEnd);
    si.hStdError = errors;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    const double start = cli_system::MonotonicSeconds();
    const bool started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                        nullptr, &si, &pi);
    CloseHandle(writeEnd);
    if (errors)
        CloseHandle(errors);
    if (readEnd) {
        char buf[4096];
        DWORD got;
        while (started && run.out.size() < how.readBytes &&
               ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got)
            run.out.append(buf, got);
        if (how.pipeEnd == ProgramRun::Disconnected)
            DisconnectNamedPipe(readEnd);
        CloseHandle(readEnd);
    }
    if (!started)
        return run;
    CloseHandle(pi.hThread);
    if (!how.interruptFile.empty() &&
        WaitForFile(how.interruptFile, how.interruptBytes, how.deadlineSeconds))
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0); // to every process of the console
    run.ended = WaitForSingleObject(pi.hProcess, static_cast<DWORD>(how.deadlineSeconds * 1000)) ==
                WAIT_OBJECT_0;
    run.seconds = cli_system::MonotonicSeconds() - start;
    if (!run.ended) {
        TerminateProcess(pi.hProcess, 99);
        WaitForSingleObject(pi.hProcess, INFINITE);
    }
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    run.status = static_cast<int>(code);
    CloseHandle(pi.hProcess);
    run.err = TakeErrors();
    return run;
}

#else

std::string ProgramPath()
{
    return ZANFOR_CLI_PATH;
}

namespace {

// Reads the pipe to its end, sending the signal once `after` bytes came; false when the deadline
// passed first.
bool ReadAllAndInterrupt(int fd, pid_t pid, const ProgramRun& how, double start, std::string& out)
{
    bool sent = false;
    char buf[65536];
    while (cli_system::MonotonicSeconds() - start < how.deadlineSeconds) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        const ssize_t got = read(fd, buf, sizeof buf);
        if (got <= 0)
            return true;
        out.append(buf, static_cast<std::size_t>(got));
        if (!sent && out.size() >= how.interruptAfterOutput)
            sent = kill(pid, how.interruptSignal) == 0;
    }
    return false;
}

} // namespace

ProcessRun RunProgram(const ProgramRun& how)
{
    ProcessRun run;
    int fds[2] = {-1, -1};
    if (how.readBytes > 0 || how.interruptAfterOutput > 0
            ? pipe2(fds, O_CLOEXEC) != 0
            : (fds[1] = open("/dev/null", O_WRONLY | O_CLOEXEC)) < 0)
        return run;
    const int errors = open(ErrorsFile().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    if (how.closeStderr)
        posix_spawn_file_actions_addclose(&actions, STDERR_FILENO);
    else
        posix_spawn_file_actions_adddup2(&actions, errors, STDERR_FILENO);
    std::vector<std::string> all{ProgramPath()};
    all.insert(all.end(), how.args.begin(), how.args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    // Started as a shell starts a program, whatever this test was started with: every signal
    // with its default handling, none blocked.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t every, none;
    sigfillset(&every);
    sigemptyset(&none);
    posix_spawnattr_setsigdefault(&attributes, &every);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK);
    // A limit is inherited: this process takes it on for the moment of the start.
    rlimit ours{};
    getrlimit(RLIMIT_FSIZE, &ours);
    if (how.fileSizeLimit > 0) {
        const rlimit limit{how.fileSizeLimit, ours.rlim_max};
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    pid_t pid;
    const double start = cli_system::MonotonicSeconds();
    const bool started =
        posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ) == 0;
    setrlimit(RLIMIT_FSIZE, &ours);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    close(errors);
    if (fds[0] >= 0 && how.interruptAfterOutput > 0) {
        if (started && !ReadAllAndInterrupt(fds[0], pid, how, start, run.out))
            kill(pid, SIGKILL);
        close(fds[0]);
    } else if (fds[0] >= 0) {
        char buf[4096];
        for (ssize_t got; started && run.out.size() < how.readBytes &&
                          (got = read(fds[0], buf, sizeof buf)) > 0;)
            run.out.append(buf, static_cast<std::size_t>(got));
        close(fds[0]);
    }
    if (!started)
        return run;
    if (!how.interruptFile.empty() &&
        WaitForFile(how.interruptFile, how.interruptBytes, how.deadlineSeconds))
        kill(pid, SIGINT);
    int status = 0;
    while (cli_system::MonotonicSeconds() - start < how.deadlineSeconds) {
        if ((run.ended = waitpid(pid, &status, WNOHANG) == pid))
            break;
        cli_system::SleepMilliseconds(5);
    }
    run.seconds = cli_system::MonotonicSeconds() - start;
    if (!run.ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    run.err = TakeErrors();
    return run;
}

#endif
