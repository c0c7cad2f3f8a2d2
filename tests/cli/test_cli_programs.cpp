// The programs that zanfor-cli starts at its events: a batch file gets its arguments as they were
// given, or the run is refused before anything starts (Windows, where cmd.exe runs it); a program
// starts with the default handling of signals and none blocked (Linux); a folder is named as one.
#include "CliHarness.h"
#include "cli/System.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#ifdef _WIN32
#include <windows.h>

#include <tlhelp32.h>
#endif

namespace {

// One event at once that starts the command.
std::vector<std::string> Started(std::vector<std::string> command)
{
    std::vector<std::string> args{"events", "--min-delay", "0", "--max-delay", "0", "-n", "1"};
    args.insert(args.end(), command.begin(), command.end());
    return args;
}

// Waits at most a minute for the file to hold text that done accepts.
template <class Done> std::string WaitForText(const std::string& path, Done done)
{
    const double start = cli_system::MonotonicSeconds();
    std::string text;
    while (!done(text = FileText(path)) && cli_system::MonotonicSeconds() - start < 60)
        cli_system::SleepMilliseconds(20);
    return text;
}

} // namespace

TEST(CliPrograms, AFolderIsNamedAsOne)
{
    const std::string folder = "zanfor_cli_folder";
    std::filesystem::create_directory(folder);
#ifdef _WIN32
    const std::string named = ".\\" + folder; // --run opens it, as the interval page does
    const std::vector<std::string> ways[] = {{"--", named, "x"}};
#else
    const std::string named = "./" + folder;
    const std::vector<std::string> ways[] = {{"--", named, "x"}, {"--run", named}};
#endif
    for (const std::vector<std::string>& way : ways) {
        const CliRun run = RunInProcess(Started(way), Language::English);
        EXPECT_EQ(run.status, EXIT_FAILED);
        EXPECT_EQ(Lines(run.err, "\n").at(0),
                  "cannot start the program \"" + named + "\": it is a folder, not a program");
    }
    std::filesystem::remove(folder);
}

#ifdef _WIN32

namespace {

// Waits at most a minute until no program that this process started runs any more (the
// command interpreter of a batch file runs what was injected after the batch file ends).
bool ChildrenEnded()
{
    const double start = cli_system::MonotonicSeconds();
    while (cli_system::MonotonicSeconds() - start < 60) {
        bool running = false;
        const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more;
             more = Process32NextW(snapshot, &entry))
            running = running || entry.th32ParentProcessID == GetCurrentProcessId();
        CloseHandle(snapshot);
        if (!running)
            return true;
        cli_system::SleepMilliseconds(20);
    }
    return false;
}

} // namespace

TEST(CliPrograms, ABatchFileGetsItsArgumentsAsGivenOrTheRunIsRefused)
{
    // The batch file keeps %~1 .. %~9 in variables (set "X=..." takes & | < > ^ as text), and
    // `set` writes them out without reading them as a command.
    const std::string batch = "zanfor_show_args.bat", shown = "zanfor_show_args.txt";
    {
        std::ofstream file(batch, std::ios::binary);
        file << "@echo off\r\n";
        for (int i = 1; i <= 9; ++i)
            file << "set \"ZARG" << i << "=[%~" << i << "]\"\r\n";
        file << "set ZARG>zanfor_show_args.tmp\r\nmove /y zanfor_show_args.tmp " << shown
             << " >nul\r\n";
    }
    const std::vector<std::string> hostile{"a&echo.>zanfor_inj1.txt",
                                           "b|echo.>zanfor_inj2.txt",
                                           "c^d^^",
                                           "(e) <f> !PATH!",
                                           "g h,i;j=k\tl",
                                           "",
                                           "m\\",
                                           "plain-n.o/p:q@r#s$t*u?v+w_x",
                                           "y)&echo.>zanfor_inj3.txt&rem"};
    std::vector<std::string> command{"--", batch};
    command.insert(command.end(), hostile.begin(), hostile.end());
    std::remove(shown.c_str());
    const CliRun run = RunInProcess(Started(command));
    EXPECT_EQ(run.status, EXIT_DONE) << run.err;
    const std::string text =
        WaitForText(shown, [](const std::string& t) { return t.find("ZARG9") != t.npos; });
    ASSERT_TRUE(ChildrenEnded()) << "the batch file's cmd.exe still runs";
    std::ostringstream expected;
    for (std::size_t i = 0; i < hostile.size(); ++i)
        expected << "ZARG" << i + 1 << "=[" << hostile[i] << "]\r\n";
    EXPECT_EQ(text, expected.str());
    for (const char* injected : {"zanfor_inj1.txt", "zanfor_inj2.txt", "zanfor_inj3.txt"}) {
        EXPECT_FALSE(std::filesystem::exists(injected)) << injected;
        std::remove(injected);
    }
    std::remove(shown.c_str());

    // What no quoting can bring to it, named before anything starts, whatever case the
    // extension has and whether or not the file is there yet.
    const struct {
        std::vector<std::string> command;
        const char* said;
    } refused[] = {
        {{"--", batch, "ok", "x%PATH%y"},
         "argument 2 \"x%PATH%y\" cannot be handed to the batch file \"zanfor_show_args.bat\" as "
         "it is: cmd.exe, which runs batch files, would read the % sign as part of a variable"},
        {{"--", "ZANFOR_NOT_YET.CMD", "say \"hi\""},
         "argument 1 \"say \"hi\"\" cannot be handed to the batch file \"ZANFOR_NOT_YET.CMD\" as "
         "it is: cmd.exe, which runs batch files, cannot pass on a double quote"},
        {{"--", batch + ".", "two\nlines"},
         "argument 1 \"two\nlines\" cannot be handed to the batch file \"zanfor_show_args.bat.\" "
         "as it is: cmd.exe, which runs batch files, would end the command at the line break"},
    };
    for (const auto& c : refused) {
        const CliRun no = RunInProcess(Started(c.command), Language::English);
        EXPECT_EQ(no.status, EXIT_REFUSED);
        EXPECT_EQ(no.out, "");
        EXPECT_EQ(no.err, std::string(c.said) + "\n");
    }
    EXPECT_EQ(
        RunInProcess(Started({"--", batch, "50%"})).err,
        Utf8Line(u8"参数 1“50%”无法原样交给批处理文件“zanfor_show_args.bat”：运行批处理文件的 "
                 u8"cmd.exe 会把 % 号当作变量的一部分！"));
    ASSERT_TRUE(ChildrenEnded());
    EXPECT_FALSE(std::filesystem::exists(shown)) << "a refused batch file ran";
    std::remove(batch.c_str());
}

#else

TEST(CliPrograms, AProgramStartsWithDefaultSignalsAndNoneBlocked)
{
    // cp copies its own /proc/self/status. The program itself ignores SIGPIPE, SIGCHLD and
    // SIGXFSZ and catches SIGINT, SIGTERM and SIGHUP.
    const std::string file = "zanfor_cli_signals.txt";
    std::remove(file.c_str());
    const ProcessRun run = RunProgram({.args = Started({"--", "cp", "/proc/self/status", file})});
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.status, EXIT_DONE) << run.err;
    const std::string status = WaitForText(file, [](const std::string& t) {
        return t.find("SigIgn:") != t.npos && t.find('\n', t.find("SigIgn:")) != t.npos;
    });
    const auto mask = [&](const char* field) {
        const std::size_t at = status.find(field);
        return at == std::string::npos ? ~0ull : std::stoull(status.substr(at + 7), nullptr, 16);
    };
    // Signals 32 and 33 are glibc's own, which its posix_spawn leaves ignored in every program it
    // starts (glibc sets them up when it uses them); SIGRTMIN, the first that programs use, is 34.
    const unsigned long long glibcOwn = 3ull << 31;
    EXPECT_EQ(mask("SigIgn:") & ~glibcOwn, 0u) << status;
    EXPECT_EQ(mask("SigBlk:"), 0u) << status;
    std::remove(file.c_str());
}

#endif
