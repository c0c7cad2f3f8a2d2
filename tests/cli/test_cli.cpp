// zanfor-cli: the same bytes as the pages' engine path, the pages' refusals, --unique and --secure
// at their edges, and outputs that fail.
#include "../GoldenRuns.h"
#include "CliHarness.h"
#include "cli/Settings.h"
#include "cli/System.h"
#include "core/Batch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <set>
#include <sstream>

// The pinned golden runs, which the pages' engine makes after SeedRandom(seed) with the same
// settings: the command line's --seed keeps that promise, settings read as the page reads them.
TEST(CliSeed, SeededRunsAreThePinnedGoldenRuns)
{
    const struct {
        const char* golden;
        std::vector<std::string> args;
    } runs[] = {
        {"StringsDefaults", {"strings", "--seed", "1"}},
        {"StringsHeadTailInserts",
         {"strings", "--seed", "99", "--upper", "--lower", "--digits", "--head", "id", "--tail",
          "x", "--insert", "  6|-|3|_ ", "--min-length", "0", "--max-length", "12"}},
        {"NumbersBothKinds80To100", {"numbers", "--seed", "1"}},
        {"NumbersBothKindsOtherSeed", {"numbers", "--seed", "20261207", "--int", "--float"}},
        {"NumbersDecimalsNegative",
         {"numbers", "--seed", "7", "--float", "--min", "-1.5", "--max", "-0.5", "--decimals",
          "4"}},
        {"NumbersDecimalsEight",
         {"numbers", "--seed", "42", "--float", "--min", "0.7", "--max", "1", "--decimals", "8"}},
        {"NumbersWholeTruncated",
         {"numbers", "--seed", "3", "--int", "--min", "-2.5", "--max", "3.9", "-n", "12"}},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.golden);
        std::vector<std::string> args = run.args;
        args.insert(args.end(), {"--encoding", "gbk", "--crlf"});
        EXPECT_EQ(RunInProcess(args).out, kGolden.at(run.golden));
    }
}

TEST(CliSeed, DefaultsAreThePagesAndTextIsUtf8UnlessGbkIsAsked)
{
    Settings s;
    CliOptions events;
    events.command = Command::Events;
    ASSERT_FALSE(CheckSettings(events, s, UINT64_MAX));
    EXPECT_EQ(s.minDelay, 500);
    EXPECT_EQ(s.maxDelay, 3000);
    EXPECT_EQ(s.count, 10);

    // 中 as head; an insertion at 1 orphans its lead byte, which becomes U+FFFD and keeps the '-'.
    const CliRun run =
        RunInProcess({"strings", "--digits", "--head", "\xE4\xB8\xAD", "--insert", "1|-",
                      "--min-length", "2", "--max-length", "2", "-n", "3", "--lf", "--seed", "9"});
    EXPECT_EQ(run.status, 0);
    const std::vector<std::string> lines = Lines(run.out, "\n");
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines)
        EXPECT_TRUE(std::regex_match(line, std::regex("\xEF\xBF\xBD-\xEF\xBF\xBD[0-9]{2}")))
            << line;
    EXPECT_EQ(RunInProcess({"strings", "--head", "\xE4\xB8\xAD", "-n", "1", "--encoding", "gbk"})
                  .out.substr(0, 2),
              "\xD6\xD0");
}

TEST(CliRefusals, ThePagesMessageOnStderrStatus2AndNoOutput)
{
    const std::string tooLong(260, 'p');
    const struct {
        std::vector<std::string> args;
        const char8_t* message;
    } cases[] = {
        // The page's words, then the option (by its short name where it has one) with its value,
        // and what is wrong with it.
        {{"strings", "--min-length", "9", "--max-length", "3"},
         u8"生成长度设定无效！（--min-length 9 --max-length 3：--min-length 大于 --max-length）"},
        {{"strings", "-n", "0"}, u8"生成个数设定无效！（-n 0：至少为 1）"},
        {{"strings", "--min-length", "9", "--max-length", "3", "-n", "0"},
         u8"生成长度设定无效！（--min-length 9 --max-length 3：--min-length 大于 --max-length）"},
        {{"strings", "--secure", "--max-length", "100000000"},
         u8"生成的字符串过长，请减小生成长度或头部、尾部、插入的文字！（--min-length 5 "
         u8"--max-length 100000000：一个字符串会超过 64 MiB）"},
        {{"numbers", "--decimals", "-1"}, u8"保留小数位数设定无效！（--decimals -1：不能小于 0）"},
        {{"numbers", "--decimals", "-1", "--min", "100", "--max", "80"},
         u8"保留小数位数设定无效！（--decimals -1：不能小于 0）"},
        {{"numbers", "--min", "100", "--max", "80"},
         u8"数值范围设定无效！（--min 100 --max 80：--min 大于 --max）"},
        {{"numbers", "--max", "-1", "--min", "-0"},
         u8"数值范围设定无效！（--min -0 --max -1：--min 大于 --max）"},
        {{"numbers", "--min", "100", "--max", "80", "-n", "0"},
         u8"数值范围设定无效！（--min 100 --max 80：--min 大于 --max）"},
        {{"numbers", "--count", "-3"}, u8"生成个数设定无效！（-n -3：至少为 1）"},
        {{"events", "--run", ""}, u8"外部程序命令行无效！（--run “”：为空）"},
        {{"events", "--run", tooLong},
         u8"外部程序命令行过长（网址最多 971 个字符，以 www 开头的最多 248 个，其他最多 259 "
         u8"个）！"},
        {{"events", "--min-delay", "3000", "--max-delay", "500", "-n", "0"},
         u8"发生间隔设定无效！（--min-delay 3000 --max-delay 500：--min-delay 大于 --max-delay）"},
        {{"events", "-n", "0"}, u8"生成个数设定无效！（-n 0：至少为 1）"},
        // A seeded run of the page's settings keeps the page's GBK.
        {{"strings", "--head", "\xF0\x9F\x98\x80", "--seed", "1"},
         u8"头部含有 GBK 无法表示的字符！（--head 😀：GBK 无法表示“😀”（U+1F600））"},
        {{"strings", "--insert", "1|\xED\x95\x9C", "--seed", "1"},
         u8"插入的文字含有 GBK 无法表示的字符！（--insert 1|한：GBK 无法表示“한”（U+D55C））"},
        // Numbers are whole arguments within their setting's range, never cut short or clamped.
        {{"strings", "-n", "1e20"}, u8"生成个数设定无效！（-n 1e20：不是整数）"},
        {{"strings", "-n", "abc"}, u8"生成个数设定无效！（-n abc：不是整数）"},
        {{"strings", "--max-length", "8 "}, u8"生成长度设定无效！（--max-length 8 ：不是整数）"},
        {{"events", "--count", "3000000000"},
         u8"生成个数设定无效！（-n 3000000000：超出范围（-2147483648 到 2147483647））"},
        {{"strings", "--seed", ""}, u8"--seed 设定无效！（--seed “”：不是整数）"},
        {{"numbers", "--seed", "-1"},
         u8"--seed 设定无效！（--seed -1：超出范围（0 到 4294967295））"},
        {{"events", "--seed", "4294967296"},
         u8"--seed 设定无效！（--seed 4294967296：超出范围（0 到 4294967295））"},
        {{"numbers", "--min", "80abc"}, u8"数值范围设定无效！（--min 80abc：不是数字）"},
        {{"numbers", "--max", "inf"}, u8"数值范围设定无效！（--max inf：不是数字）"},
        {{"numbers", "--max", "1e39"},
         u8"数值范围设定无效！（--max 1e39：超出范围（单精度浮点数））"},
        {{"numbers", "--float", "--decimals", "2.5"},
         u8"保留小数位数设定无效！（--decimals 2.5：不是整数）"},
        // The limit said is the one of the kind drawn: whole numbers have 64 bits, decimals the
        // float's; a bound beyond is out of range, whatever the other bound.
        {{"numbers", "--min", "-1e19"},
         u8"数值范围设定无效！（--min -1e19：超出整数的范围（-9223372036854775808 到 "
         u8"9223372036854775807））"},
        {{"numbers", "--int", "--min", "9223372036854775808"},
         u8"数值范围设定无效！（--min 9223372036854775808：超出整数的范围（-9223372036854775808 到 "
         u8"9223372036854775807））"},
        {{"numbers", "--float", "--min", "1e39"},
         u8"数值范围设定无效！（--min 1e39：超出范围（单精度浮点数））"},
        {{"numbers", "--float", "--min", "0.21", "--max", "0.29", "--decimals", "1"},
         u8"数值范围设定无效！（--min 0.21 --max 0.29：其间没有保留 1 位小数的数）"},
        // Bytes that are no UTF-8 are not a character that GBK cannot spell.
        {{"strings", "--charset", "\xD6\xD0"},
         u8"--charset 设定无效！（--charset：不是 UTF-8 文本，而 zanfor-cli 按 UTF-8 读取参数）"},
        {{"strings", "--head", "\xED\xA0\x80"},
         u8"--head 设定无效！（--head：不是 UTF-8 文本，而 zanfor-cli 按 UTF-8 读取参数）"},
        // Beyond GBK where the output is GBK: the character and the encoding are named.
        {{"strings", "--charset", "a\xF0\xA0\x80\x80", "--encoding", "gbk"},
         u8"--charset 设定无效！（--charset a𠀀：GBK 无法表示“𠀀”（U+20000））"},
        {{"strings", "--tail", "\xF0\x9F\x98\x80", "--encoding", "gbk"},
         u8"尾部含有 GBK 无法表示的字符！（--tail 😀：GBK 无法表示“😀”（U+1F600））"},
        // A run of the page's draws makes at most what the page counts.
        {{"strings", "--seed", "1", "-n", "2147483648"},
         u8"生成个数设定无效！（-n 2147483648：--seed 重现页面的抽取，页面一次最多生成 2147483647 "
         u8"个）"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args = c.args;
        const std::string file = "zanfor_cli_refused.txt";
        std::remove(file.c_str());
        args.insert(args.end(), {"-o", file});
        const CliRun run = RunInProcess(args);
        SCOPED_TRACE(args[0] + " " + args[1]);
        EXPECT_EQ(run.status, EXIT_REFUSED);
        EXPECT_EQ(run.err, Utf8Line(c.message));
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(std::fopen(file.c_str(), "rb"), nullptr) << "the output file was created";
    }
    // Within those limits the range given is the range drawn, seeded too.
    for (const char* seed : {"", "1"}) {
        std::vector<std::string> args{"numbers", "--float", "--min", "1e20",
                                      "--max",   "1e20",    "-n",    "1"};
        if (*seed)
            args.insert(args.end(), {"--seed", seed});
        EXPECT_EQ(RunInProcess(args).out, "100000000000000000000.00" + RECORD_END);
    }
    EXPECT_EQ(RunInProcess({"numbers", "--int", "--min", "-9e18", "--max", "-9e18", "-n", "1",
                            "--seed", "1"})
                  .out,
              "-9000000000000000000" + RECORD_END);
    EXPECT_EQ(RunInProcess({"numbers", "--float", "--min", "-214748.36", "--max", "-214748.36",
                            "-n", "1", "--seed", "1"})
                  .out,
              "-214748.36" + RECORD_END);
    EXPECT_EQ(RunInProcess({"numbers", "--int", "--min", "2147483647", "--max", "2147483647", "-n",
                            "1", "--seed", "1"})
                  .out,
              "2147483647" + RECORD_END);
    // The decimals are not read while only whole numbers are asked for.
    EXPECT_EQ(RunInProcess({"numbers", "--int", "--decimals", "x"}).status, EXIT_DONE);
    // Whole numbers with a sign or leading zeros, and decimals as a box takes them.
    EXPECT_EQ(Lines(RunInProcess({"strings", "-n", "+3", "--seed", "4294967295"}).out).size(), 3u);
    EXPECT_EQ(
        Lines(RunInProcess({"numbers", "--min", "-.5", "--max", "1.5e2", "-n", "007"}).out).size(),
        7u);
    // Usage errors: status 2, CLI11's words, nothing on the output.
    for (const std::vector<std::string>& args : {std::vector<std::string>{"strings", "--bogus"},
                                                 {"strings", "--seed", "1", "--secure"},
                                                 {"numbers", "--encoding", "latin1"},
                                                 {}}) {
        const CliRun run = RunInProcess(args);
        EXPECT_EQ(run.status, EXIT_REFUSED);
        EXPECT_NE(run.err, "");
        EXPECT_EQ(run.out, "");
    }
}

TEST(CliUnique, RefusedAboveTheEdgeAndWholeAtIt)
{
    const struct {
        std::vector<std::string> args;
        int most;
    } cases[] = {
        {{"strings", "--digits", "--min-length", "2", "--max-length", "2"}, 100},
        {{"strings", "--upper", "--min-length", "-1", "--max-length", "1"}, 27}, // empty body too
        {{"numbers", "--int", "--min", "1", "--max", "50"}, 50},
        {{"numbers", "--int", "--min", "-50", "--max", "49", "--secure"}, 100},
        {{"numbers", "--float", "--decimals", "1", "--min", "0", "--max", "1"}, 11}, // 0.0 .. 1.0
        {{"numbers", "--decimals", "0", "--min", "0", "--max", "3"}, 4},             // 0 .. 3
        // --unique is none of the page's: seeded, it draws exactly too, over the whole range.
        {{"numbers", "--int", "--min", "0", "--max", "99999", "--seed", "1"}, 100000},
        {{"strings", "--digits", "--length", "3", "--seed", "2"}, 1000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1] + " " + std::to_string(c.most));
        std::vector<std::string> args = c.args;
        args.insert(args.end(), {"--unique", "-n", std::to_string(c.most)});
        const CliRun whole = RunInProcess(args);
        ASSERT_EQ(whole.status, EXIT_DONE) << whole.err;
        const std::vector<std::string> lines = Lines(whole.out);
        EXPECT_EQ(lines.size(), static_cast<std::size_t>(c.most));
        EXPECT_EQ(std::set<std::string>(lines.begin(), lines.end()).size(), lines.size());

        args.back() = std::to_string(c.most + 1);
        const CliRun refused = RunInProcess(args);
        EXPECT_EQ(refused.status, EXIT_REFUSED);
        const std::string most = ' ' + std::to_string(c.most) + ' ';
        EXPECT_NE(refused.err.find(most), std::string::npos) << refused.err;
        EXPECT_EQ(refused.out, "");
    }
}

TEST(CliUnique, MemoryBeyondTheMachineIsRefusedAndWholeNumbersTakeOneBitEach)
{
    // 2 * 10^9 strings of a million bytes: more than any machine holds.
    MemoryDevice out, err;
    FakeClock clock;
    out.closeWhen = [] { return true; }; // should a run start, it ends at its first write
    EXPECT_EQ(RunCli({"strings", "--secure", "--min-length", "1000000", "--max-length", "1000000",
                      "--unique", "-n", "2000000000"},
                     Language::Chinese, out, err, clock),
              EXIT_REFUSED);
    EXPECT_EQ(out.writes, 0);
    const std::string said = Utf8Text(u8"--unique 要记住 2000000000 个结果，约需 ");
    EXPECT_EQ(err.bytes.substr(0, said.size()), said);

    // Within 1 MiB: 10^5 whole numbers of a range of 10^6 fit as bits, 10^5 strings or decimal
    // texts do not.
    const auto refusedForMemory = [](std::vector<std::string> args) {
        args.insert(args.end(), {"-n", "100000", "--unique"});
        Settings settings;
        const auto refusal =
            CheckSettings(*ParseCommandLine(args, Language::Chinese).options, settings, 1 << 20);
        return refusal && refusal->starts_with(Utf8Text(u8"--unique 要记住 100000 个结果"));
    };
    EXPECT_FALSE(refusedForMemory({"numbers", "--int", "--min", "1", "--max", "1e6"}));
    EXPECT_TRUE(refusedForMemory({"numbers", "--decimals", "0", "--min", "1", "--max", "1e5"}));
    EXPECT_TRUE(
        refusedForMemory({"strings", "--digits", "--min-length", "9", "--max-length", "9"}));
}

TEST(CliDraws, UnseededRunsDifferAndReachTheTopOfAWideRange)
{
    // Two runs in the same second: the pages' clock seed would repeat them.
    const std::vector<std::string> dice{"numbers", "--int",      "--min", "1",
                                        "--max",   "1000000000", "-n",    "5"};
    EXPECT_NE(RunInProcess(dice).out, RunInProcess(dice).out);
    const std::vector<std::string> words{"strings", "-n", "5"};
    EXPECT_NE(RunInProcess(words).out, RunInProcess(words).out);

    // The 15-bit source never passes the lower bound by more than 32767 here.
    CliRun run = RunInProcess(
        {"numbers", "--int", "--min", "-2000000000", "--max", "2000000000", "-n", "20000"});
    ASSERT_EQ(run.status, EXIT_DONE) << run.err;
    std::vector<long long> v;
    for (const std::string& line : Lines(run.out))
        v.push_back(std::stoll(line));
    ASSERT_EQ(v.size(), 20000u);
    EXPECT_LT(*std::min_element(v.begin(), v.end()), -1900000000);
    EXPECT_GT(*std::max_element(v.begin(), v.end()), 1900000000);

    run = RunInProcess({"numbers", "--float", "--decimals", "4", "--min", "-200000", "--max",
                        "200000", "-n", "20000"});
    std::vector<double> d;
    for (const std::string& line : Lines(run.out))
        d.push_back(std::stod(line));
    ASSERT_EQ(d.size(), 20000u);
    EXPECT_LT(*std::min_element(d.begin(), d.end()), -190000);
    EXPECT_GT(*std::max_element(d.begin(), d.end()), 190000);
    EXPECT_LE(*std::max_element(d.begin(), d.end()), 200000);

    run = RunInProcess({"strings", "--digits", "--hanzi", "--min-length", "0", "--max-length",
                        "100000", "-n", "40", "--encoding", "gbk"});
    std::size_t longest = 0;
    for (const std::string& line : Lines(run.out))
        longest = std::max(longest, line.size());
    EXPECT_GT(longest, 2u * 32768);
}

TEST(CliOutput, FailuresAreReportedAndAClosedPipeEndsQuietly)
{
    MemoryDevice out, err;
    FakeClock clock;
    out.room = 100000;
    EXPECT_EQ(RunCli({"strings", "-n", "100000"}, Language::Chinese, out, err, clock), EXIT_FAILED);
    EXPECT_NE(err.bytes.find("\xE5\x86\x99\xE5\x85\xA5\xE5\xA4\xB1\xE8\xB4\xA5"), std::string::npos)
        << err.bytes; // 写入失败

    MemoryDevice closed, quiet;
    closed.room = 100;
    closed.failAs = WriteStatus::Closed;
    EXPECT_EQ(RunCli({"strings", "-n", "1000000"}, Language::Chinese, closed, quiet, clock),
              EXIT_PIPE_CLOSED);
    EXPECT_EQ(quiet.bytes, "");
    EXPECT_EQ(closed.writes, 1);

    // A disk that fills up, and a file that cannot be made.
    std::string full;
#ifdef _WIN32
    if (const char* dir = std::getenv("ZANFOR_FULL_DIR"); dir && *dir) {
        full = std::string("Z:") + dir + "\\zanfor-cli.txt";
        std::replace(full.begin(), full.end(), '/', '\\');
    }
#else
    full = "/dev/full";
#endif
    if (full.empty()) {
        ADD_FAILURE() << "no full disk: run under scripts/test.sh";
    } else {
        const CliRun run = RunInProcess({"strings", "-n", "100000", "-o", full});
        EXPECT_EQ(run.status, EXIT_FAILED);
        const std::string said = Utf8Text(u8"写入失败，输出不完整：") + full + Utf8Text(u8"：");
        EXPECT_EQ(run.err.substr(0, said.size()), said);
#ifdef _WIN32
        std::remove(full.c_str()); // the small disk is shared; /dev/full stays, of course
#endif
    }
    const CliRun missing = RunInProcess({"strings", "-o", "no-such-folder/out.txt"});
    EXPECT_EQ(missing.status, EXIT_FAILED);
    const std::string said = Utf8Text(u8"无法创建输出文件：no-such-folder/out.txt：");
    EXPECT_EQ(missing.err.substr(0, said.size()), said);
}

TEST(CliEvents, EachLineGoesOutWhenItHappens)
{
    MemoryDevice out, err;
    FakeClock clock;
    out.clock = &clock;
    ASSERT_EQ(RunCli({"events", "--min-delay", "150", "--max-delay", "150", "-n", "3", "--lf"},
                     Language::Chinese, out, err, clock),
              EXIT_DONE);
    const std::vector<std::string> lines = Lines(out.bytes, "\n");
    ASSERT_EQ(lines.size(), 3u);
    for (const std::string& line : lines)
        EXPECT_TRUE(std::regex_match(line, std::regex(R"(\d{4}-\d\d-\d\d   \d\d:\d\d:\d\d)")));
    ASSERT_EQ(out.writes, 3);
    EXPECT_GE(out.writeTimes[2] - out.writeTimes[0], 0.25);

    // A program that cannot start: the run goes on; the system's reason is said once, and the
    // end says how often it failed.
    MemoryDevice out2, err2;
    EXPECT_EQ(RunCli({"events", "--min-delay", "0", "--max-delay", "0", "-n", "2", "--run",
                      "zanfor-no-such-program"},
                     Language::Chinese, out2, err2, clock),
              EXIT_FAILED);
    EXPECT_EQ(Lines(out2.bytes).size(), 2u);
    const std::vector<std::string> said = Lines(err2.bytes, "\n");
    ASSERT_EQ(said.size(), 2u) << err2.bytes;
    const std::string cannot = Utf8Text(u8"无法启动外部程序“zanfor-no-such-program”：");
    EXPECT_EQ(said[0].substr(0, cannot.size()), cannot);
    EXPECT_GT(said[0].size(), cannot.size()) << "no reason given";
    EXPECT_EQ(said[1] + "\n", Utf8Line(u8"生成完成，但外部程序有 2 次未能启动！"));
}

TEST(CliEvents, AProgramStartsWithItsArgumentsAndStampsCanBeIso)
{
    // The program is zanfor-cli itself, writing a seeded run whose head holds a blank and a quote.
    const std::string file = "zanfor_cli_started.txt";
    std::remove(file.c_str());
    const std::vector<std::string> started{"strings", "--seed",  "5",  "-n", "2",
                                           "--head",  "a \"b\"", "-o", file};
    std::vector<std::string> args{"events", "--min-delay", "0",     "--max-delay", "0",
                                  "-n",     "1",           "--iso", "--",          ProgramPath()};
    args.insert(args.end(), started.begin(), started.end());
    const CliRun run = RunInProcess(args);
    EXPECT_EQ(run.status, EXIT_DONE) << run.err;
    EXPECT_TRUE(std::regex_match(
        run.out, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}[+-]\d\d:\d\d)" + RECORD_END)))
        << run.out;
    const std::string expected =
        RunInProcess(std::vector<std::string>(started.begin(), started.end() - 2)).out;
    const double start = cli_system::MonotonicSeconds();
    while (FileText(file) != expected && cli_system::MonotonicSeconds() - start < 30)
        cli_system::SleepMilliseconds(20);
    EXPECT_EQ(FileText(file), expected) << "the program did not write its run";
    std::remove(file.c_str());

    // A program that cannot start is named, with the system's reason.
    const CliRun failed = RunInProcess({"events", "--min-delay", "0", "--max-delay", "0", "-n", "1",
                                        "--", "zanfor-no-such-program", "x"},
                                       Language::English);
    EXPECT_EQ(failed.status, EXIT_FAILED);
    const std::string cannot = "cannot start the program \"zanfor-no-such-program\": ";
    EXPECT_EQ(failed.err.substr(0, cannot.size()), cannot) << failed.err;
    EXPECT_NE(failed.err.find("done, but the program could not be started 1 time"),
              std::string::npos);
}

TEST(CliOutput, AProgressLineOnlyOnATerminalAndOnlyAfterASecond)
{
    for (const bool terminal : {true, false}) {
        MemoryDevice out, err;
        FakeClock clock;
        err.clock = &clock;
        err.terminal = terminal;
        const double start = clock.Seconds();
        // Every piece of records takes a sixteenth of a second; the run ends when a progress line
        // shows, or after 2.5 s without one, far below 1 % of the strings.
        out.closeWhen = [&] {
            clock.Advance(1.0 / 16);
            return err.bytes.find('%') != std::string::npos || clock.Seconds() - start > 2.5;
        };
        EXPECT_EQ(RunCli({"strings", "--length", "200", "-n", "2000000000"}, Language::Chinese, out,
                         err, clock),
                  EXIT_PIPE_CLOSED);
        if (terminal) {
            EXPECT_GE(err.writeTimes.at(0) - start, 0.9);
            EXPECT_EQ(err.bytes.substr(0, 1), "\r");
            EXPECT_NE(err.bytes.find(Utf8Text(u8"生成中，请稍后... 0%")), std::string::npos);
        } else {
            EXPECT_EQ(err.bytes, "");
        }
    }
}
