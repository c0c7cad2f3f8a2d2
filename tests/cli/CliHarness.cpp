#include "CliHarness.h"

#include "cli/System.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <poll.h>
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

#ifdef _WIN32

std::string ProgramPath()
{
    // Every program of the Windows build stands in one folder.
    char self[MAX_PATH];
    const DWORD n = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, n);
    return path.substr(0, path.find_last_of("\\/") + 1) + "zanfor-cli.exe";
}

ProcessRun RunProgramAndClosePipe(const std::vector<std::string>& args, std::size_t readBytes,
                                  double deadlineSeconds)
{
    ProcessRun run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE readEnd, writeEnd;
    if (!CreatePipe(&readEnd, &writeEnd, &inherit, 0))
        return run;
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
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
    si.hStdOutput = writeEnd;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    PROCESS_INFORMATION pi{};
    const double start = cli_system::MonotonicSeconds();
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si,
                        &pi)) {
        CloseHandle(readEnd);
        CloseHandle(writeEnd);
        return run;
    }
    CloseHandle(writeEnd);
    char buf[4096];
    DWORD got;
    while (run.out.size() < readBytes && ReadFile(readEnd, buf, sizeof buf, &got, nullptr) && got)
        run.out.append(buf, got);
    CloseHandle(readEnd);
    run.ended = WaitForSingleObject(pi.hProcess, static_cast<DWORD>(deadlineSeconds * 1000)) ==
                WAIT_OBJECT_0;
    run.seconds = cli_system::MonotonicSeconds() - start;
    DWORD code = 0;
    if (!run.ended)
        TerminateProcess(pi.hProcess, 99);
    GetExitCodeProcess(pi.hProcess, &code);
    run.status = static_cast<int>(code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    return run;
}

#else

std::string ProgramPath()
{
    return ZANFOR_CLI_PATH;
}

ProcessRun RunProgramAndClosePipe(const std::vector<std::string>& args, std::size_t readBytes,
                                  double deadlineSeconds)
{
    ProcessRun run;
    int fds[2];
    if (pipe(fds) != 0)
        return run;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, fds[0]);
    std::vector<std::string> all{ProgramPath()};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid;
    const double start = cli_system::MonotonicSeconds();
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    if (spawned != 0) {
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
    return run;
}

#endif
