// The rule books the pages and the command line share: the page's order of refusals, what a
// refusal leaves of the settings, and the bounds the rules rely on.
#include "core/EventsRules.h"
#include "core/NumbersRules.h"
#include "core/StringsRules.h"

#include <gtest/gtest.h>

#include <cmath>

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
