// The rule books the pages and the command line share: the page's order of refusals, what a
// refusal leaves of the settings, and the bounds the rules rely on.
#include "core/EventsRules.h"
#include "core/NumbersRules.h"
#include "core/StringsRules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

TEST(StringsRules, TheFirstRefusalInThePagesOrderAndWhatWasTakenBeforeIt)
{
    const auto input = [] {
        StringsInput in;
        in.upper = 1;
        in.insert.gbk = " 1|- ";
        in.lenMin = 5;
        in.lenMax = 8;
        in.count = 10;
        return in;
    };
    struct Case {
        const char* name;
        void (*change)(StringsInput&);
        const char* refusal;
        bool textsTaken, numbersTaken;
    };
    const Case cases[] = {
        {"valid", [](StringsInput&) {}, nullptr, true, true},
        {"no class", [](StringsInput& in) { in.upper = 0; }, MSG_NO_CHAR_CLASS, false, false},
        {"tail GBK cannot spell, count 0",
         [](StringsInput& in) {
             in.tail.unspellable = true;
             in.count = 0;
         },
         MSG_TAIL_NOT_GBK, true, false},
        {"length and count both bad",
         [](StringsInput& in) {
             in.lenMin = 9;
             in.count = 0;
         },
         MSG_BAD_LENGTH, true, true},
        {"count", [](StringsInput& in) { in.count = 0; }, MSG_BAD_COUNT, true, true},
        {"too long", [](StringsInput& in) { in.head.gbk = CString(std::string(65 << 20, 'h')); },
         MSG_STRING_TOO_LONG, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StringsInput in = input();
        c.change(in);
        StringsSettings s{.options = {.m_strInsert = "old", .m_nLenMin = -1}, .count = -1};
        EXPECT_STREQ(CheckStrings(in, s), c.refusal);
        EXPECT_EQ(s.options.m_bUpper, in.upper); // the classes are always taken
        EXPECT_EQ(s.options.m_strInsert, c.textsTaken ? CString("1|-") : CString("old"));
        EXPECT_EQ(s.options.m_nLenMin, c.numbersTaken ? in.lenMin : -1);
        EXPECT_EQ(s.count, c.numbersTaken ? in.count : -1);
    }
    // A secure draw reaches the upper bound: a length the classic draw never makes is refused.
    StringsInput far = input();
    far.lenMax = 100000000;
    StringsSettings s;
    EXPECT_EQ(CheckStrings(far, s), nullptr);
    EXPECT_STREQ(CheckStrings(far, s, true), MSG_STRING_TOO_LONG);
}

TEST(NumbersRules, DecimalsAreTakenOnlyWithDecimalItems)
{
    NumberOptions o{.m_nDecimals = 7};
    EXPECT_EQ(CheckNumbers({.integer = 1, .min = 1, .max = 2, .count = 1, .decimals = -1}, o),
              nullptr);
    EXPECT_EQ(o.m_nDecimals, 7);
    EXPECT_STREQ(CheckNumbers({.decimal = 1, .min = 3, .max = 2, .count = 0, .decimals = -1}, o),
                 MSG_BAD_DECIMALS);
    EXPECT_STREQ(CheckNumbers({.decimal = 1, .min = 3, .max = 2, .count = 0, .decimals = 1}, o),
                 MSG_BAD_RANGE);
    EXPECT_STREQ(
        CheckNumbers({.decimal = 1, .min = 1, .max = 2, .count = 1, .decimals = 1 << 27}, o),
        MSG_TOO_MANY_DECIMALS);
}

// The numbers page sizes its list from this bound: no item may be longer.
TEST(NumbersRules, NoItemIsLongerThanTheLongestItem)
{
    const float bounds[] = {0,          0.7f,     9.99995f,   80,           99.9999f, 100,  -1,
                            -99.99999f, 32767.5f, -214748.5f, 214748.3647f, 3e9f,     -3e9f};
    for (float lo : bounds)
        for (float hi : bounds) {
            if (lo > hi)
                continue;
            for (int decimals : {0, 2, 5}) {
                const NumberOptions o{.m_bInteger = 1,
                                      .m_bFloat = 1,
                                      .m_fMin = lo,
                                      .m_fMax = hi,
                                      .m_nDecimals = decimals};
                const long long longest = LongestNumberItem(o);
                NumberItemMaker maker(o);
                RandomSource rng(11);
                for (int i = 0; i < 2000; ++i) {
                    std::string item;
                    maker.Append(item, rng);
                    ASSERT_LE(static_cast<long long>(item.size()), longest)
                        << item << " from " << lo << " to " << hi << ", " << decimals;
                }
            }
        }
}

TEST(EventsRules, TheSeriesCountsItsEventsAndEndsWithTheRightWords)
{
    EventSeries series(-5, -1, 3);
    RandomSource rng(1);
    EXPECT_EQ(series.NextDelay(rng), 0); // a negative delay waits no time
    series.Fired();
    series.Fired(false);
    EXPECT_FALSE(series.Done());
    EXPECT_EQ(series.EndMessage(true),
              "生成已停止：已发生 2 次，共 3 次。\r\n外部程序有 1 次未能启动！");
    series.Fired();
    EXPECT_TRUE(series.Done());
    EXPECT_EQ(series.EndMessage(false), "生成完成，但外部程序有 1 次未能启动！");
    EXPECT_EQ(EventSeries(0, 0, 1).EndMessage(false), MSG_SUCCESS);
    EXPECT_EQ(EventLine({2026, 1, 2, 3, 4, 5}), "2026-01-02   03:04:05");
}

// The program text's limit by what the shell makes of it: the longest of each kind passes, one
// more is refused, in the page's order (an empty text first, GBK after the length).
TEST(EventsRules, TheProgramTextFitsTheShellByItsKind)
{
    const auto text = [](const char* head, std::size_t length) {
        return head + std::string(length - std::strlen(head), 'x');
    };
    struct Case {
        std::string program;
        std::size_t limit;
    };
    const Case cases[] = {
        {text("C:\\tools\\", 300), MAX_PROGRAM_FILE_CHARS},
        {text("notepad", 300), MAX_PROGRAM_FILE_CHARS},
        {text("c:", 300), MAX_PROGRAM_FILE_CHARS}, // a drive, not a scheme
        {text("https://example.com/?q=", 1200), MAX_PROGRAM_URL_CHARS},
        {text("mailto:", 1200), MAX_PROGRAM_URL_CHARS},
        {text("x-my.app+1:", 1200), MAX_PROGRAM_URL_CHARS},
        {text("www.example.com/", 300), MAX_PROGRAM_WWW_CHARS},
        {text("WwW", 300), MAX_PROGRAM_WWW_CHARS},
        {text("www.example.com:8080/", 300), MAX_PROGRAM_WWW_CHARS},
        {text("\"https://example.com/", 1200), MAX_PROGRAM_FILE_CHARS}, // not wholly quoted
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.program.substr(0, 24));
        EXPECT_EQ(MaxProgramChars(c.program), c.limit);
        EventsSettings s;
        EventsInput in;
        in.runProgram = 1;
        in.count = 1;
        in.program.gbk = CString(c.program.substr(0, c.limit));
        in.programUnits = c.limit;
        EXPECT_EQ(CheckEvents(in, s), nullptr);
        in.program.gbk = CString(c.program.substr(0, c.limit + 1));
        in.programUnits = c.limit + 1;
        EXPECT_STREQ(CheckEvents(in, s), MSG_PROGRAM_TOO_LONG);
        EXPECT_EQ(s.program, in.program.gbk); // taken before the refusal
        in.program.unspellable = true;
        EXPECT_STREQ(CheckEvents(in, s), MSG_PROGRAM_TOO_LONG);
    }
    // Quotes around the whole text do not reach the shell; the limit is the inner text's.
    const auto quoted = [](const std::string& inner) {
        std::string q(1, '"');
        q.append(inner).push_back('"');
        return q;
    };
    EXPECT_TRUE(ProgramFitsTheShell(quoted(text("www.", 248)), 250));
    EXPECT_FALSE(ProgramFitsTheShell(quoted(text("www.", 249)), 251));
    EXPECT_TRUE(ProgramFitsTheShell("\"\"", 2));
    // A Chinese character is one UTF-16 unit (two GBK bytes): units decide, not bytes.
    EXPECT_TRUE(ProgramFitsTheShell(text("C:\\\xB2\xE2\xCA\xD4\\", 300), 259));
    // The text the shell reads, environment variables expanded, must fit as well.
    EventsSettings s;
    EventsInput in;
    in.runProgram = 1;
    in.count = 1;
    in.program.gbk = "%TOOLS%\\run.exe";
    in.programUnits = 15;
    in.expandedProgram = CString(text("C:\\", 260));
    in.expandedUnits = 260;
    EXPECT_STREQ(CheckEvents(in, s), MSG_PROGRAM_TOO_LONG);
    in.expandedProgram = CString(text("C:\\", 259));
    in.expandedUnits = 259;
    EXPECT_EQ(CheckEvents(in, s), nullptr);
    in.expandedProgram = CString(text("www.", 259));
    EXPECT_STREQ(CheckEvents(in, s), MSG_PROGRAM_TOO_LONG);
}
