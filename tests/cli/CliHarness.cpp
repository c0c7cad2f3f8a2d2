#include "CliHarness.h"

#include "cli/System.h"

#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
extern char** environ;
#endif

WriteStatus MemoryDevice::Write(std::string_view data)
{
    ++writes;
    writeTimes.push_back(cli_system::MonotonicSeconds());
    if (closeWhen)
        return closeWhen() ? WriteStatus::Closed : WriteStatus::Ok;
    if (bytes.size() + data.size() > room) {
        bytes.append(data.substr(0, room - bytes.size()));
        return failAs;
    }
    bytes.append(data);
    if (afterWrite)
        afterWrite();
    return WriteStatus::Ok;
}

CliRun RunInProcess(const std::vector<std::string>& args)
{
    MemoryDevice out, err;
    const int status = RunCli(args, out, err);
    return {status, out.bytes, err.bytes};
}

std::string Utf8Text(const char8_t* text)
{
    return reinterpret_cast<const char*>(text);
}

std::string Utf8Line(const char8_t* text)
{
    return Utf8Text(text) + "\n";
}

namespace {

std::string ProgramErrorsFile()
{
    // One process per test: the process number keeps parallel tests apart.
#ifdef _WIN32
    return "zanfor_cli_err_" + std::to_string(GetCurrentProcessId()) + ".txt";
#else
    return "zanfor_cli_err_" + std::to_string(getpid()) + ".txt";
#endif
}

std::string ReadWhole(const std::string& path)
{
    std::string text;
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
        char buf[4096];
        for (std::size_t got; (got = std::fread(buf, 1, sizeof buf, f)) > 0;)
            text.append(buf, got);
        std::fclose(f);
    }
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
    if (h && h != INVALID_HANDLE_VALUE)
        SetHandleInformation(h, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    return h;
}

HANDLE CreateErrorsFile()
{
    return Inheritable(CreateFileA(ProgramErrorsFile().c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
}

HANDLE NullDevice()
{
    return Inheritable(CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
}

// Starts the program with the given standard output and error (null: closed); null on failure.
HANDLE Spawn(const std::vector<std::string>& args, HANDLE out, HANDLE err)
{
    std::string command = "\"";
    command += ProgramPath();
    command += '"';
    for (const std::string& a : args) {
        command += " \"";
        command += a;
        command += '"';
    }
    STARTUPINFOA si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = out;
    si.hStdError = err;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi))
        return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
}

void Wait(HANDLE process, double start, double deadlineSeconds, ProcessRun& run)
{
    run.ended =
        WaitForSingleObject(process, static_cast<DWORD>(deadlineSeconds * 1000)) == WAIT_OBJECT_0;
    run.seconds = cli_system::MonotonicSeconds() - start;
    if (!run.ended) {
        TerminateProcess(process, 99);
        WaitForSingleObject(process, INFINITE);
    }
    DWORD code = 0;
    GetExitCodeProcess(process, &code);
    run.status = static_cast<int>(code);
    CloseHandle(process);
}

// Ignores the Ctrl-C that this process sends to the console it shares with the program.
BOOL WINAPI IgnoreInterrupt(DWORD event)
{
    return event == CTRL_C_EVENT;
}

} // namespace

ProcessRun RunProgramAndClosePipe(const std::vector<std::string>& args, std::size_t readBytes,
                                  double deadlineSeconds, PipeEnd end)
{
    ProcessRun run;
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    if (end == PipeEnd::Closed) {
        if (!CreatePipe(&readEnd, &writeEnd, nullptr, 0))
            return run;
    } else {
        const std::string name =
            "\\\\.\\pipe\\zanfor-cli-test-" + std::to_string(GetCurrentProcessId());
        readEnd = CreateNamedPipeA(name.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1,
                                   0, 65536, 0, nullptr);
        writeEnd = CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (readEnd == INVALID_HANDLE_VALUE || writeEnd == INVALID_HANDLE_VALUE)
            return run;
    }
    HANDLE errors = CreateErrorsFile();
    const double start = cli_system::MonotonicSeconds();
    HANDLE process = Spawn(args, Inheritable(writeEnd), errors);
    CloseHandle(writeEnd);
    CloseHandle(errors);
    if (!process) {
        CloseHandle(readEnd);
        return run;
    }
    char buf[4096];
    DWORD got;
    while (run.out.size() < readBytes && ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got)
        run.out.append(buf, got);
    if (end == PipeEnd::Disconnected)
        DisconnectNamedPipe(readEnd);
    CloseHandle(readEnd);
    Wait(process, start, deadlineSeconds, run);
    run.err = ReadWhole(ProgramErrorsFile());
    std::remove(ProgramErrorsFile().c_str());
    return run;
}

ProcessRun RunProgramWithoutStderr(const std::vector<std::string>& args, double deadlineSeconds)
{
    ProcessRun run;
    HANDLE out = NullDevice();
    const double start = cli_system::MonotonicSeconds();
    HANDLE process = Spawn(args, out, nullptr);
    CloseHandle(out);
    if (process)
        Wait(process, start, deadlineSeconds, run);
    return run;
}

ProcessRun RunProgramAndInterrupt(const std::vector<std::string>& args, const std::string& file,
                                  std::size_t fileBytes, double deadlineSeconds)
{
    ProcessRun run;
    // A console of our own for the two of us (under ctest there is none), keeping our handles.
    const HANDLE ours[] = {GetStdHandle(STD_INPUT_HANDLE), GetStdHandle(STD_OUTPUT_HANDLE),
                           GetStdHandle(STD_ERROR_HANDLE)};
    FreeConsole();
    const bool console = AllocConsole();
    SetStdHandle(STD_INPUT_HANDLE, ours[0]);
    SetStdHandle(STD_OUTPUT_HANDLE, ours[1]);
    SetStdHandle(STD_ERROR_HANDLE, ours[2]);
    if (!console)
        return run;
    // Stays set until the process ends: our own Ctrl-C may come after the program's.
    SetConsoleCtrlHandler(IgnoreInterrupt, TRUE);
    HANDLE out = NullDevice(), errors = CreateErrorsFile();
    const double start = cli_system::MonotonicSeconds();
    HANDLE process = Spawn(args, out, errors);
    CloseHandle(out);
    CloseHandle(errors);
    if (!process)
        return run;
    if (WaitForFile(file, fileBytes, deadlineSeconds))
        GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0); // to every process of the console
    Wait(process, start, deadlineSeconds, run);
    run.err = ReadWhole(ProgramErrorsFile());
    std::remove(ProgramErrorsFile().c_str());
    return run;
}

#else

std::string ProgramPath()
{
    return ZANFOR_CLI_PATH;
}

namespace {

// Starts the program with the given standard output and error (-1: closed); -1 on failure.
pid_t Spawn(const std::vector<std::string>& args, int out, int err, int closeInChild = -1)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out, STDOUT_FILENO);
    if (err >= 0)
        posix_spawn_file_actions_adddup2(&actions, err, STDERR_FILENO);
    else
        posix_spawn_file_actions_addclose(&actions, STDERR_FILENO);
    if (closeInChild >= 0)
        posix_spawn_file_actions_addclose(&actions, closeInChild);
    std::vector<std::string> all{ProgramPath()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    return spawned == 0 ? pid : -1;
}

void Wait(pid_t pid, double start, double deadlineSeconds, ProcessRun& run)
{
    int status = 0;
    while (cli_system::MonotonicSeconds() - start < deadlineSeconds) {
        if (waitpid(pid, &status, WNOHANG) == pid) {
            run.ended = true;
            break;
        }
        cli_system::SleepMilliseconds(5);
    }
    run.seconds = cli_system::MonotonicSeconds() - start;
    if (!run.ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
    }
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int CreateErrorsFile()
{
    return open(ProgramErrorsFile().c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

} // namespace

ProcessRun RunProgramAndClosePipe(const std::vector<std::string>& args, std::size_t readBytes,
                                  double deadlineSeconds, PipeEnd)
{
    ProcessRun run;
    int fds[2];
    if (pipe(fds) != 0)
        return run;
    const int errors = CreateErrorsFile();
    const double start = cli_system::MonotonicSeconds();
    const pid_t pid = Spawn(args, fds[1], errors, fds[0]);
    close(fds[1]);
    close(errors);
    if (pid < 0) {
        close(fds[0]);
        return run;
    }
    char buf[4096];
    while (run.out.size() < readBytes) {
        const ssize_t got = read(fds[0], buf, sizeof buf);
        if (got <= 0)
            break;
        run.out.append(buf, static_cast<std::size_t>(got));
    }
    close(fds[0]);
    Wait(pid, start, deadlineSeconds, run);
    run.err = ReadWhole(ProgramErrorsFile());
    std::remove(ProgramErrorsFile().c_str());
    return run;
}

ProcessRun RunProgramWithoutStderr(const std::vector<std::string>& args, double deadlineSeconds)
{
    ProcessRun run;
    const int out = open("/dev/null", O_WRONLY | O_CLOEXEC);
    const double start = cli_system::MonotonicSeconds();
    const pid_t pid = Spawn(args, out, -1);
    close(out);
    if (pid >= 0)
        Wait(pid, start, deadlineSeconds, run);
    return run;
}

ProcessRun RunProgramAndInterrupt(const std::vector<std::string>& args, const std::string& file,
                                  std::size_t fileBytes, double deadlineSeconds)
{
    ProcessRun run;
    const int out = open("/dev/null", O_WRONLY | O_CLOEXEC), errors = CreateErrorsFile();
    const double start = cli_system::MonotonicSeconds();
    const pid_t pid = Spawn(args, out, errors);
    close(out);
    close(errors);
    if (pid < 0)
        return run;
    if (WaitForFile(file, fileBytes, deadlineSeconds))
        kill(pid, SIGINT);
    Wait(pid, start, deadlineSeconds, run);
    run.err = ReadWhole(ProgramErrorsFile());
    std::remove(ProgramErrorsFile().c_str());
    return run;
}

#endif
