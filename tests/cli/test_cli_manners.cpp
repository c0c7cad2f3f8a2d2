// zanfor-cli's manners: one language for every message, help included; suggestions for a
// mistyped command or option; line ends, "-o -", encodings; --insert pairs that no string takes,
// said on standard error.
#include "CliHarness.h"
#include "cli/System.h"
#include "platform/TextConversion.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

TEST(CliLanguage, ChineseUnderAChineseLocaleEnglishOtherwiseHelpIncluded)
{
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "zh_CN.UTF-8"), Language::Chinese);
    EXPECT_EQ(LanguageFromLocale("C", nullptr, "zh_CN.UTF-8"), Language::English);
    EXPECT_EQ(LanguageFromLocale("", "zh_TW.UTF-8", "C.UTF-8"), Language::Chinese);
    EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, nullptr), Language::English);

    // The refusals: the page's own text in Chinese, English otherwise.
    EXPECT_EQ(RunInProcess({"strings", "-n", "0"}, Language::Chinese).err,
              Utf8Line(u8"生成个数设定无效！（-n 0：至少为 1）"));
    EXPECT_EQ(RunInProcess({"strings", "-n", "0"}, Language::English).err,
              "invalid count (-n 0: must be at least 1)\n");
    EXPECT_EQ(RunInProcess({"numbers", "--max", "1,000"}, Language::English).err,
              "invalid range (--max 1,000: not a number)\n");
    EXPECT_EQ(RunInProcess({"numbers", "--min", "5", "--max", "1"}, Language::English).err,
              "invalid range (--min 5 --max 1: --min is above --max)\n");

    // Help: every line in the one language.
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--help"}, {"--help-all"}, {"events", "--help"}}) {
        const std::string english = RunInProcess(args, Language::English).out;
        EXPECT_NE(english.find("Usage: zanfor-cli"), std::string::npos);
        EXPECT_TRUE(std::all_of(english.begin(), english.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x80;
        })) << english;
        const std::string chinese = RunInProcess(args, Language::Chinese).out;
        EXPECT_NE(chinese.find(Utf8Text(u8"用法：zanfor-cli")), std::string::npos);
        for (const char* word : {"Usage", "Options", "Print", "Commands", "default"})
            EXPECT_EQ(chinese.find(word), std::string::npos) << word;
    }
}

// Run under ctest with ZANFOR_EXPECT_LANGUAGE (zh or en) and a locale to match: the program itself
// takes its language from the system (Linux: the locale's variables; Windows: the user's display
// language, which Wine takes from the locale).
TEST(CliLanguage, TheProgramSpeaksTheSystemsLanguage)
{
    const char* expected = std::getenv("ZANFOR_EXPECT_LANGUAGE");
    if (!expected)
        GTEST_SKIP() << "run by ctest with a locale set";
    const bool chinese = std::string(expected) == "zh";
    EXPECT_EQ(cli_system::MessageLanguage(), chinese ? Language::Chinese : Language::English);
    const ProcessRun run = RunProgram({.args = {"strings", "-n", "0"}});
    EXPECT_EQ(run.err, chinese ? Utf8Line(u8"生成个数设定无效！（-n 0：至少为 1）")
                               : "invalid count (-n 0: must be at least 1)\n");
}

TEST(CliUsage, MistypedNamesGetASuggestionAndConflictsAreRefused)
{
    const struct {
        std::vector<std::string> args;
        const char* said;
    } cases[] = {
        {{"string"}, "unknown command \"string\"; did you mean \"strings\"?"},
        {{"nubmers", "-n", "3"}, "unknown command \"nubmers\"; did you mean \"numbers\"?"},
        {{"strings", "--lenght", "3"}, "unknown option \"--lenght\"; did you mean \"--length\"?"},
        {{"--hel"}, "unknown option \"--hel\"; did you mean \"--help\"?"},
        {{"numbers", "--decimal=3"}, "unknown option \"--decimal\"; did you mean \"--decimals\"?"},
        {{"strings", "--head"}, "--head needs a value"},
        {{"strings", "-o", "a", "-o", "b"}, "--output is given more than once: it takes one value"},
        {{"numbers", "--seed", "1", "--seed=2"}, "--seed is given more than once"},
        {{"strings", "--lf", "--crlf"}, "--lf cannot be combined with --crlf"},
        {{"strings", "--length", "8", "--max-length", "9"},
         "--length cannot be combined with --max-length"},
        {{"strings", "--encoding", "latin1"}, "unknown encoding \"latin1\""},
        {{"strings", "--", "echo"}, "\"--\" introduces a program to run: events only"},
    };
    for (const auto& c : cases) {
        const CliRun run = RunInProcess(c.args, Language::English);
        EXPECT_EQ(run.status, EXIT_REFUSED);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err.substr(0, std::string(c.said).size()), c.said) << run.err;
    }
    EXPECT_NE(RunInProcess({"string"}).err.find(Utf8Text(u8"是不是要用“strings”")),
              std::string::npos);
}

TEST(CliOutput, LineEndsDashAndEncodings)
{
    // "\n" by default on Linux, "\r\n" on Windows; either on request.
    EXPECT_EQ(RunInProcess({"strings", "--seed", "1", "-n", "2"}).out,
              "HMLlxV" + RECORD_END + "gwwtJ" + RECORD_END);
    EXPECT_EQ(RunInProcess({"strings", "--seed", "1", "-n", "2", "--crlf"}).out,
              "HMLlxV\r\ngwwtJ\r\n");
    EXPECT_EQ(RunInProcess({"strings", "--seed", "1", "-n", "2", "--lf"}).out, "HMLlxV\ngwwtJ\n");

    // "-o -" is standard output, not a file named "-".
    std::remove("-");
    EXPECT_EQ(RunInProcess({"strings", "--seed", "1", "-n", "2", "-o", "-"}).out,
              "HMLlxV" + RECORD_END + "gwwtJ" + RECORD_END);
    EXPECT_EQ(std::fopen("-", "rb"), nullptr) << "a file named - was made";

    // The euro sign: 0x80 in GBK (code page 936), A2 E3 in GB18030.
    const auto head = [](const char* encoding) {
        return RunInProcess(
            {"strings", "--head", "\xE2\x82\xAC", "-n", "1", "--encoding", encoding});
    };
    EXPECT_EQ(head("cp936").out.substr(0, 1), "\x80");
    EXPECT_EQ(head("GBK").out.substr(0, 1), "\x80");
    EXPECT_EQ(head("utf8").out.substr(0, 3), "\xE2\x82\xAC");
    const CliRun gb18030 = head("gb18030");
    if (CanWriteGb18030()) {
        EXPECT_EQ(gb18030.out.substr(0, 2), "\xA2\xE3");
    } else { // Wine has no code page 54936: refused, never GBK under the name of GB18030
        EXPECT_EQ(gb18030.status, EXIT_REFUSED);
        EXPECT_NE(gb18030.err.find("54936"), std::string::npos) << gb18030.err;
    }
}

TEST(CliInsert, APairThatNoStringTakesIsSaidOnceWithItsReason)
{
    // Strings of 5 bytes (ab and 3 letters): 5 is not below 2, 99 lies past the end, x reads as 0
    // after -3 was taken. The strings are the page's: the same with and without the warnings.
    const std::vector<std::string> args{"strings", "--seed",   "7",           "--head",
                                        "ab",      "--length", "3",           "-n",
                                        "3",       "--insert", "2|_|5|-|99|!"};
    const CliRun run = RunInProcess(args, Language::English);
    EXPECT_EQ(run.status, EXIT_DONE);
    EXPECT_EQ(run.err,
              "--insert: \"5|-\" is skipped in every string: position 5 is not below the position "
              "of an earlier insertion (positions go from the largest to the smallest)\n"
              "--insert: \"99|!\" is skipped in every string: position 99 lies past the end of "
              "the longest string (5 bytes)\n");
    for (const std::string& line : Lines(run.out))
        EXPECT_EQ(line.substr(0, 3), "ab_");

    const CliRun number = RunInProcess({"strings", "--insert", "-3|#|x|*"}, Language::Chinese);
    EXPECT_EQ(number.err,
              Utf8Line(u8"--insert：“x|*”在每个字符串中都被跳过：位置 0 "
                       u8"不小于前面已插入的位置（位置应从大到小）（“x”不是数字，按 0 计）"));
    // A pair that some strings take is not mentioned: 6 fits the strings of 6 letters or more.
    EXPECT_EQ(RunInProcess({"strings", "--insert", "6|-", "-n", "3"}).err, "");
}

TEST(CliHelp, EveryLineFitsEightyColumnsAndTheDefaultsAreSaid)
{
    // Columns as a terminal shows them: Chinese characters and full-width marks take two.
    const auto columns = [](const std::string& line) {
        std::size_t n = 0;
        for (std::size_t i = 0; i < line.size();) {
            const auto lead = static_cast<unsigned char>(line[i]);
            char32_t code = lead;
            const std::size_t bytes = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
            if (bytes > 1) {
                code = lead & (0x7F >> bytes);
                for (std::size_t k = 1; k < bytes; ++k)
                    code = code << 6 | (static_cast<unsigned char>(line[i + k]) & 0x3F);
            }
            n += code >= 0x2E80 && code != 0xFFFD ? 2 : 1;
            i += bytes;
        }
        return n;
    };
    for (const Language language : {Language::English, Language::Chinese})
        for (const std::vector<std::string>& args : {std::vector<std::string>{"--help"},
                                                     {"--help-all"},
                                                     {"strings", "--help"},
                                                     {"numbers", "--help"},
                                                     {"events", "--help"}})
            for (const std::string& line : Lines(RunInProcess(args, language).out, "\n"))
                EXPECT_LE(columns(line), 80u) << line;

    // A reader who has never seen the desktop tool learns the defaults from the help.
    const std::string english = RunInProcess({"--help"}, Language::English).out;
    for (const char* said : {"strings of 5 to 8 letters A-Z and a-z", "numbers from 80 to 100",
                             "2 decimals", "500 to 3000 ms apart", "10 of each"})
        EXPECT_NE(english.find(said), std::string::npos) << said;
    EXPECT_EQ(english.find("the page"), std::string::npos);
    const std::string chinese = RunInProcess({"--help"}, Language::Chinese).out;
    for (const char8_t* said : {u8"5 到 8 个字母", u8"80 到 100", u8"两位小数", u8"各生成 10 个"})
        EXPECT_NE(chinese.find(Utf8Text(said)), std::string::npos) << Utf8Text(said);
}
