// zanfor-cli --seed with settings the page lacks: exact draws from the seeded generator, pinned by
// runs of an independent model (tests/golden/make_seeded_golden.py); the page's draws warning of a
// range they cannot reach; characters beyond GBK where the output can spell them; counts past
// 2^31; a GB18030 locale's text.
#include "CliHarness.h"
#include "cli/Settings.h"
#include "core/LocaleNames.h"
#include "core/SeededBits.h"
#include "platform/TextConversion.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <regex>

namespace {

std::vector<std::string> With(std::vector<std::string> args, std::vector<std::string> more)
{
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

} // namespace

TEST(CliSeeded, TheGeneratorIsThePublishedOne)
{
    // The reference outputs of xoshiro256** from the state {1, 2, 3, 4}.
    Xoshiro256StarStar reference(1, 2, 3, 4);
    for (const std::uint64_t expected :
         {11520ull, 0ull, 1509978240ull, 1215971899390074240ull, 1216172134540287360ull,
          607988272756665600ull, 16172922978634559625ull, 8476171486693032832ull,
          10595114339597558777ull, 2904607092377533576ull})
        EXPECT_EQ(reference.Next(), expected);
    EXPECT_EQ(Xoshiro256StarStar::FromSeed(0).Next(), 0x99EC5F36CB75F2B4ull);
}

TEST(CliSeeded, GoldenRunsOfTheSeededGenerator)
{
    const struct {
        std::vector<std::string> args;
        const char* out;
    } runs[] = {
        {{"strings", "--seed", "1", "--symbols", "-n", "3"}, "\\)rJ_U\nJDd]H&?\nMU;e*Rr\n"},
        {{"strings", "--seed", "20261208", "--charset", "0123456789abcdef", "--length", "12", "-n",
          "3"},
         "b5ca42c36338\n76da52ff6882\nf25a5db5597f\n"},
        {{"numbers", "--seed", "1", "--int", "--min", "0", "--max", "1e18", "-n", "3"},
         "284482609428762821\n376989097743764714\n214087378060068116\n"},
        {{"numbers", "--seed", "9", "--min", "1", "--max", "3e9", "-n", "4"},
         "2064437297\n1080138630\n1500207054.56\n2167351566.81\n"},
    };
    for (const auto& run : runs) {
        const CliRun made = RunInProcess(With(run.args, {"--lf", "--verbose"}), Language::English);
        EXPECT_EQ(made.out, run.out) << run.args[3];
        EXPECT_NE(made.err.find(", exact draws from xoshiro256** seeded by splitmix64"),
                  std::string::npos)
            << made.err;
    }
    // Only what the page has: the page's draws, and --verbose says so.
    EXPECT_EQ(
        RunInProcess({"strings", "--seed", "1", "-n", "1", "--verbose"}, Language::English).err,
        "seed: 1, the page's 15-bit draws\n");
}

TEST(CliSeeded, EveryOptionThePageLacksRepeatsAndDiffersBySeed)
{
    const std::vector<std::vector<std::string>> cases = {
        {"strings", "--symbols"},
        {"strings", "--charset", "abc\xE4\xB8\xAD"},
        {"strings", "--exclude", "aeiou"},
        {"strings", "--no-ambiguous"},
        {"strings", "--require-each", "--upper", "--digits"},
        {"strings", "--unique", "--length", "3"},
        {"strings", "--pronounceable", "--upper", "--digits", "--length", "12"},
        {"numbers", "--unique", "--int", "--min", "1", "--max", "1000000"},
        {"numbers", "--int", "--min", "-9e18", "--max", "9e18"},
        {"numbers", "--float", "--min", "0", "--max", "1e12", "--decimals", "6"},
    };
    for (const std::vector<std::string>& args : cases) {
        SCOPED_TRACE(args[1]);
        const auto run = [&](const char* seed) {
            const CliRun made = RunInProcess(With(args, {"--seed", seed, "-n", "20"}));
            EXPECT_EQ(made.status, EXIT_DONE) << made.err;
            EXPECT_EQ(Lines(made.out).size(), 20u);
            return made.out;
        };
        const std::string first = run("1");
        EXPECT_EQ(run("1"), first);
        EXPECT_NE(run("2"), first);
    }
}

TEST(CliSeeded, ThePagesDrawsWarnOfARangeTheyCannotReach)
{
    const struct {
        std::vector<std::string> args;
        const char* reached;
    } cases[] = {
        {{"numbers", "--int", "--min", "0", "--max", "1000000"},
         "0 to 32767 of --min 0 --max 1000000"},
        {{"numbers", "--float", "--min", "0", "--max", "200000"},
         "0.0000 to 107367.6289 of --min 0 --max 200000"},
        {{"strings", "--min-length", "1", "--max-length", "40000"},
         "1 to 32768 of --min-length 1 --max-length 40000"},
        {{"events", "--min-delay", "0", "--max-delay", "40000"},
         "0 to 32767 of --min-delay 0 --max-delay 40000"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reached);
        const CliRun run =
            RunInProcess(With(c.args, {"--seed", "1", "-n", "3"}), Language::English);
        EXPECT_EQ(run.status, EXIT_DONE);
        EXPECT_EQ(
            run.err.substr(0, run.err.find('\n')),
            std::string("warning: --seed repeats the page's 15-bit draws, which reach only ") +
                c.reached);
    }
    // Still the page's draws, and a range they reach is not warned of.
    EXPECT_EQ(RunInProcess({"numbers", "--int", "--min", "0", "--max", "1000000", "--seed", "1",
                            "-n", "3", "--lf"})
                  .out,
              "26500\n11478\n26962\n");
    EXPECT_EQ(RunInProcess({"numbers", "--int", "--min", "0", "--max", "32767", "--seed", "1"}).err,
              "");
}

TEST(CliSeeded, CharactersBeyondGbkWhereTheOutputCanSpellThem)
{
    // Emoji, Korean, CJK Extension B and a GBK character, in UTF-8 and in GB18030.
    const std::string emoji = "\xF0\x9F\x98\x80", hangul = "\xED\x95\x9C",
                      extB = "\xF0\xA0\x80\x80", zhong = "\xE4\xB8\xAD";
    const std::vector<std::string> args{"strings",  "--charset", emoji + hangul + extB + zhong,
                                        "--length", "4",         "-n",
                                        "50",       "--seed",    "3",
                                        "--lf"};
    const CliRun utf8 = RunInProcess(args);
    ASSERT_EQ(utf8.status, EXIT_DONE) << utf8.err;
    const std::regex shape("(" + emoji + "|" + hangul + "|" + extB + "|" + zhong + "){4}");
    std::string all;
    for (const std::string& line : Lines(utf8.out, "\n")) {
        EXPECT_TRUE(std::regex_match(line, shape)) << line;
        all += line;
    }
    for (const std::string& c : {emoji, hangul, extB, zhong})
        EXPECT_NE(all.find(c), std::string::npos) << c;

    const CliRun gb18030 = RunInProcess(With(args, {"--encoding", "gb18030"}));
    if (CanWriteGb18030()) {
        std::string expected = utf8.out;
        for (const auto& [u, g] : {std::pair{emoji, "\x94\x39\xFC\x36"},
                                   {hangul, "\x83\x36\x84\x33"},
                                   {extB, "\x95\x32\x82\x36"},
                                   {zhong, "\xD6\xD0"}})
            for (std::size_t at; (at = expected.find(u)) != std::string::npos;)
                expected.replace(at, u.size(), g);
        EXPECT_EQ(gb18030.out, expected);
    } else {
        EXPECT_EQ(gb18030.status, EXIT_REFUSED);
    }

    // Head, tail and insertions too; a position counts a character beyond GBK as 4 bytes.
    EXPECT_EQ(RunInProcess({"strings", "--head", emoji + "a", "--tail", hangul, "--length", "0",
                            "--insert", "5|-|4|+", "-n", "1", "--lf"})
                  .out,
              emoji + "+a-" + hangul + "\n");
    // An insertion that cuts one apart leaves a replacement character, never a control.
    const std::string cut = RunInProcess({"strings", "--head", emoji, "--length", "0", "--insert",
                                          "2|~", "-n", "1", "--lf"})
                                .out;
    EXPECT_EQ(cut.substr(0, 4), "\xEF\xBF\xBD~") << cut;
    EXPECT_TRUE(std::none_of(cut.begin() + 4, cut.end() - 1, [](char c) {
        return static_cast<unsigned char>(c) < 0x80;
    })) << cut;
}

TEST(CliCount, PastTwoToTheThirtyOneAReaderThatGoesAwayEndsIt)
{
    const ProcessRun run = RunProgram({.args = {"strings", "-n", "9223372036854775807"},
                                       .readBytes = 100,
                                       .deadlineSeconds = 20});
    ASSERT_TRUE(run.ended) << "still running after its reader went away";
    EXPECT_EQ(run.status, EXIT_PIPE_CLOSED);
    EXPECT_EQ(run.err, "");
    EXPECT_GE(run.out.size(), 100u);
    // Numbers too, seeded exact draws as well; the page's own draws keep the page's limit.
    Settings settings;
    EXPECT_FALSE(CheckSettings(*ParseCommandLine({"numbers", "-n", "3000000000"}).options, settings,
                               UINT64_MAX));
    EXPECT_EQ(settings.count, 3000000000);
    EXPECT_FALSE(CheckSettings(
        *ParseCommandLine({"strings", "--symbols", "--seed", "1", "-n", "3000000000"}).options,
        settings, UINT64_MAX));
    EXPECT_TRUE(
        CheckSettings(*ParseCommandLine({"numbers", "--seed", "1", "-n", "3000000000"}).options,
                      settings, UINT64_MAX));
}

TEST(CliLanguage, AGb18030LocaleGetsItsTextInGb18030)
{
    EXPECT_TRUE(LocaleIsGb18030(nullptr, nullptr, "zh_CN.GB18030"));
    EXPECT_TRUE(LocaleIsGb18030("", "zh_CN.gb18030@euro", "C"));
    EXPECT_FALSE(LocaleIsGb18030("zh_CN.UTF-8", nullptr, "zh_CN.GB18030"));
    EXPECT_FALSE(LocaleIsGb18030(nullptr, nullptr, "zh_CN"));
#ifndef _WIN32
    // The program itself: its refusal in GB18030, its arguments read as GB18030.
    const char* before = std::getenv("LC_ALL");
    const std::string saved = before ? before : "";
    setenv("LC_ALL", "zh_CN.GB18030", 1);
    const ProcessRun refused = RunProgram({.args = {"strings", "-n", "0"}});
    const ProcessRun head = RunProgram(
        {.args = {"strings", "--head", "\xD6\xD0", "--length", "0", "-n", "1"}, .readBytes = 4});
    before ? setenv("LC_ALL", saved.c_str(), 1) : unsetenv("LC_ALL");
    EXPECT_EQ(refused.err,
              "\xC9\xFA\xB3\xC9\xB8\xF6\xCA\xFD\xC9\xE8\xB6\xA8\xCE\xDE\xD0\xA7\xA3\xA1"
              "\xA3\xA8-n 0\xA3\xBA\xD6\xC1\xC9\xD9\xCE\xAA 1\xA3\xA9\n");
    EXPECT_EQ(head.out, "\xE4\xB8\xAD\n"); // the records keep --encoding: UTF-8
#endif
}
