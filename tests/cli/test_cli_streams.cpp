// zanfor-cli's standard streams and its end: a closed standard error, Ctrl-C and the other ways a
// run is ended from outside, a reader that goes away.
#include "CliHarness.h"

#include <gtest/gtest.h>

#include "cli/System.h"

#include <atomic>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <future>
#include <memory>
#include <regex>
#include <thread>

namespace {

// The number of records when text is whole records of 5 to 8 letters, each ended as records end;
// -1 when it is not.
long long WholeRecords(const std::string& text)
{
    long long records = 0;
    std::size_t at = 0;
    for (std::size_t end; (end = text.find(RECORD_END, at)) != std::string::npos;
         at = end + RECORD_END.size()) {
        const std::size_t length = end - at;
        if (length < 5 || length > 8)
            return -1;
        for (std::size_t i = at; i < end; ++i)
            if (!std::isalpha(static_cast<unsigned char>(text[i])))
                return -1;
        ++records;
    }
    return at == text.size() ? records : -1;
}

// "已中断，输出不完整：<target>（已写入 N 条）" in Chinese: N, or -1 when err is not that line.
long long InterruptedAfter(const std::string& err, const std::string& target,
                           Language language = Language::Chinese)
{
    std::smatch m;
    const std::regex line =
        language == Language::Chinese
            ? std::regex(Utf8Text(u8"已中断，输出不完整：") + target + Utf8Text(u8"（已写入 ") +
                         "([0-9]+)" + Utf8Text(u8" 条）") + "\n")
            : std::regex("interrupted, the output is incomplete: " + target + " \\(([0-9]+) " +
                         "records written\\)\n");
    return std::regex_match(err, m, line) ? std::stoll(m[1]) : -1;
}

} // namespace

TEST(CliStreams, AClosedStandardErrorGivesNoFileItsPlace)
{
    const std::string file = "zanfor_cli_no_stderr.txt";
    const ProcessRun run =
        RunProgram({.args = {"strings", "-n", "3", "--seed", "5", "--verbose", "-o", file},
                    .closeStderr = true});
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.status, EXIT_DONE);
    EXPECT_EQ(FileText(file), RunInProcess({"strings", "-n", "3", "--seed", "5"}).out);
    std::remove(file.c_str());
}

TEST(CliStreams, AReaderThatGoesAwayEndsTheProgramQuietly)
{
#ifdef _WIN32
    const ProgramRun::PipeEnd ends[] = {ProgramRun::Closed, ProgramRun::Disconnected};
#else
    const ProgramRun::PipeEnd ends[] = {ProgramRun::Closed};
#endif
    for (const ProgramRun::PipeEnd end : ends) {
        SCOPED_TRACE(end);
        const ProcessRun run = RunProgram({.args = {"strings", "-n", "100000000"},
                                           .readBytes = 100,
                                           .pipeEnd = end,
                                           .deadlineSeconds = 20});
        ASSERT_TRUE(run.ended) << "still running after its reader went away";
        EXPECT_EQ(run.status, EXIT_PIPE_CLOSED);
        EXPECT_EQ(run.err, "");
        EXPECT_GE(run.out.size(), 100u);
    }
}

TEST(CliInterrupt, AnEventsLongWaitEndsAtOnce)
{
    // The event had not happened: nothing is written. The run has a thread of its own, which
    // keeps what it uses should it outlive the test; its clock holds the wait until the stop.
    struct Events {
        std::atomic<bool> interrupted{false};
        std::atomic<int> status{-1};
        MemoryDevice out, err;
        FakeClock clock;
    };
    auto events = std::make_shared<Events>();
    events->clock.hold = true;
    std::thread([events] {
        events->status = RunCli(
            {"events", "--min-delay", "600000", "--max-delay", "600000", "-n", "2"},
            Language::Chinese, events->out, events->err, events->clock, &events->interrupted);
    }).detach();
    const double waited = cli_system::MonotonicSeconds();
    while (!events->clock.waiting && cli_system::MonotonicSeconds() - waited < 60)
        cli_system::SleepMilliseconds(5);
    ASSERT_TRUE(events->clock.waiting) << "the run never waited for its event";
    events->interrupted = true;
    const double start = cli_system::MonotonicSeconds();
    while (events->status == -1 && cli_system::MonotonicSeconds() - start < 60)
        cli_system::SleepMilliseconds(5);
    ASSERT_EQ(events->status, EXIT_INTERRUPTED) << "still waiting for the event";
    EXPECT_EQ(events->out.bytes, "");
    EXPECT_EQ(InterruptedAfter(events->err.bytes, Utf8Text(u8"标准输出")), 0) << events->err.bytes;
}

TEST(CliInterrupt, TheSystemClocksWaitEndsWhenAStopIsAsked)
{
    // Ten minutes away: the wait returns at once, well within a minute's deadline.
    const auto waits = [](std::shared_ptr<std::promise<void>> returned) {
        cli_system::SystemClock clock;
        std::atomic<bool> stop{true};
        clock.WaitUntil(clock.Seconds() + 600, &stop);
        clock.WaitUntil(clock.Seconds() - 1, nullptr); // a deadline passed: no wait at all
        returned->set_value();
    };
    auto returned = std::make_shared<std::promise<void>>();
    std::future<void> done = returned->get_future();
    std::thread(waits, returned).detach(); // left behind, should it hang, as the test fails
    EXPECT_EQ(done.wait_for(std::chrono::seconds(60)), std::future_status::ready)
        << "the wait went on past a stop";
}

TEST(CliInterrupt, CtrlCEndsTheProgramAfterWholeRecordsWithTheInterruptsStatus)
{
    const std::string file = "zanfor_cli_interrupted.txt";
    std::remove(file.c_str());
    const ProcessRun run = RunProgram({.args = {"strings", "-n", "2000000000", "-o", file},
                                       .interruptFile = file,
                                       .interruptBytes = 1 << 20});
    ASSERT_TRUE(run.ended) << "still running after Ctrl-C";
    EXPECT_EQ(run.status, EXIT_INTERRUPTED); // Linux: ended by SIGINT itself
    const long long records = WholeRecords(FileText(file));
    EXPECT_GT(records, 0);
    EXPECT_LT(records, 2000000000);
    // The program speaks the system's language, as this test does.
    EXPECT_EQ(InterruptedAfter(run.err, file, cli_system::MessageLanguage()), records) << run.err;
    std::remove(file.c_str());
}

#ifndef _WIN32
TEST(CliInterrupt, TermAndHangUpEndTheRunAfterWholeRecordsAsCtrlCDoes)
{
    for (const int signal : {SIGTERM, SIGHUP}) {
        SCOPED_TRACE(signal);
        const ProcessRun run = RunProgram({.args = {"strings", "-n", "2147483647"},
                                           .interruptAfterOutput = 1 << 20,
                                           .interruptSignal = signal});
        ASSERT_TRUE(run.ended) << "still running after the signal";
        EXPECT_EQ(run.status, 128 + signal); // ended by the signal itself
        const long long records = WholeRecords(run.out);
        EXPECT_GT(records, 0) << "no whole records: " << run.out.substr(run.out.size() - 20);
        EXPECT_EQ(InterruptedAfter(run.err,
                                   cli_system::MessageLanguage() == Language::Chinese
                                       ? Utf8Text(u8"标准输出")
                                       : "standard output",
                                   cli_system::MessageLanguage()),
                  records)
            << run.err;
    }
}

TEST(CliInterrupt, TheFileSizeLimitEndsTheRunAfterTheLastWholeRecordThatFits)
{
    // A limit that no record end meets exactly: the record it cuts is taken back out.
    const std::string file = "zanfor_cli_limited.txt";
    const std::size_t limit = 300007;
    std::remove(file.c_str());
    const ProcessRun run =
        RunProgram({.args = {"strings", "-n", "2147483647", "-o", file}, .fileSizeLimit = limit});
    ASSERT_TRUE(run.ended);
    EXPECT_EQ(run.status, 128 + SIGXFSZ);
    const std::string text = FileText(file);
    const long long records = WholeRecords(text);
    EXPECT_GT(records, 0);
    EXPECT_LE(text.size(), limit);
    EXPECT_GT(text.size() + 9, limit) << "a record of at most 9 bytes still fitted";
    // The system's words for EFBIG follow, in the language the program speaks, as this test does.
    const Language language = cli_system::MessageLanguage();
    const std::string why =
        (language == Language::Chinese ? Utf8Text(u8"：") : ": ") + std::strerror(EFBIG) + "\n";
    ASSERT_TRUE(run.err.ends_with(why)) << run.err;
    EXPECT_EQ(
        InterruptedAfter(run.err.substr(0, run.err.size() - why.size()) + "\n", file, language),
        records)
        << run.err;
    std::remove(file.c_str());
}
#endif
