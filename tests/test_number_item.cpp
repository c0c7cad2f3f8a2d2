#include "core/NumberItem.h"
#include "core/Random.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

NumberOptions Options(BOOL integer, BOOL floating, double lo, double hi, int decimals)
{
    return NumberOptions{integer, floating, static_cast<float>(lo), static_cast<float>(hi),
                         10,      decimals};
}

std::set<std::string> Items(const NumberOptions& opt, int n, unsigned seed = 1)
{
    SeedRandom(seed);
    std::set<std::string> seen;
    for (int i = 0; i < n; ++i)
        seen.insert(MakeNumberItem(opt).Str());
    return seen;
}

} // namespace

TEST(NumberItem, WholeNumbersUseTheTruncatedBounds)
{
    EXPECT_EQ(Items(Options(1, 0, 5, 5, 0), 100), (std::set<std::string>{"5"}));
    EXPECT_EQ(Items(Options(1, 0, 1.9, 3.2, 0), 1000), (std::set<std::string>{"1", "2", "3"}));
    EXPECT_EQ(Items(Options(1, 0, -2.5, -0.5, 0), 1000), (std::set<std::string>{"-2", "-1", "0"}));
    // Bounds beyond the 32-bit range are clamped, not undefined.
    for (const std::string& s : Items(Options(1, 0, -1e20, 1e20, 0), 100)) {
        const long long v = std::stoll(s);
        EXPECT_GE(v, -2147483648LL);
        EXPECT_LE(v, -2147483648LL + 32767);
    }
}

TEST(NumberItem, DecimalsNeverReachTheUpperBoundButTheirTextCan)
{
    const auto four = Items(Options(0, 1, 0, 1, 4), 200000);
    EXPECT_EQ(*four.begin(), "0.0000");
    EXPECT_EQ(*four.rbegin(), "0.9999");
    const auto two = Items(Options(0, 1, 0, 1, 2), 200000);
    EXPECT_EQ(*two.rbegin(), "1.00"); // 0.9999 rounds up in the text
    for (const std::string& s : Items(Options(0, 1, 0, 2.5, 0), 5000))
        EXPECT_EQ(s.find('.'), std::string::npos) << s;
    EXPECT_TRUE(Items(Options(0, 1, 1.2345, 2.5, 8), 200000).count("1.23449993"));
    const auto negative = Items(Options(0, 1, -1.5, -0.5, 4), 200000);
    EXPECT_TRUE(negative.count("-1.5000"));
    EXPECT_TRUE(negative.count("-0.5001"));
    EXPECT_FALSE(negative.count("-0.5000"));
    for (const std::string& s : negative)
        ASSERT_TRUE(s >= "-0.5001" && s <= "-1.5000") << s; // as texts: "-0.5..." < "-1..."
}

TEST(NumberItem, EqualBoundsGiveTheBoundForDecimalsToo)
{
    EXPECT_EQ(Items(Options(0, 1, 80, 80, 2), 50), (std::set<std::string>{"80.00"}));
    EXPECT_EQ(Items(Options(1, 1, 3, 3, 1), 200), (std::set<std::string>{"3", "3.0"}));
}

TEST(NumberItem, TheMarkerLoopDrawsTheKindAgain)
{
    // Seed 1 draws 41, 18467, 6334, 26500, 19169: kinds 2, 2, 1. With only whole numbers chosen
    // the two decimal kinds are spent, then 26500 mod 101 = 38 is the item.
    SeedRandom(1u);
    EXPECT_EQ(MakeNumberItem(Options(1, 0, 0, 100, 0)), "38");
    EXPECT_EQ(RandDraw(), 19169);
    // With only decimals chosen the first draw (kind 2) is used at once: P = 18467 * 6334.
    SeedRandom(1u);
    const long long n = 18467LL * 6334 % 10000;
    EXPECT_EQ(MakeNumberItem(Options(0, 1, 0, 1, 4)), "0." + std::to_string(n));
    EXPECT_EQ(RandDraw(), 26500);
}

TEST(NumberItem, BothKindsComeUpEvenly)
{
    SeedRandom(8u);
    int whole = 0;
    for (int i = 0; i < 20000; ++i)
        whole +=
            MakeNumberItem(Options(1, 1, 80, 100, 2)).View().find('.') == std::string_view::npos;
    EXPECT_NEAR(whole / 20000.0, 0.5, 0.02);
}
