#include "core/FixedFormat.h"

#include <gtest/gtest.h>

TEST(FixedFormat, ExactHalvesGoAwayFromZero)
{
    EXPECT_EQ(FormatFixed(0.125, 2), "0.13");
    EXPECT_EQ(FormatFixed(0.5, 0), "1");
    EXPECT_EQ(FormatFixed(-2.5, 0), "-3");
    EXPECT_EQ(FormatFixed(2.5, 0), "3");
    EXPECT_EQ(FormatFixed(-0.375, 2), "-0.38");
    EXPECT_EQ(FormatFixed(9.5, 0), "10");
    EXPECT_EQ(FormatFixed(0.145, 2), "0.14"); // the double 0.145 lies below the half
    EXPECT_EQ(FormatFixed(99.995, 2),
              "100.00"); // this one lies above it, and the carry runs through
}

TEST(FixedFormat, ExactHalvesFinerThanTheSpacingOfDoubles)
{
    // 1 + 2^-23, a float, has 23 exact decimals: its half at the 23rd lies far below the gap to the
    // next double, which must not stand in for it.
    EXPECT_EQ(FormatFixed(1.00000011920928955078125, 22), "1.0000001192092895507813");
    EXPECT_EQ(FormatFixed(-1.00000011920928955078125, 22), "-1.0000001192092895507813");
    EXPECT_EQ(FormatFixed(0x1.f0002p-12, 30), "0.000473022926598787307739257813");
}

TEST(FixedFormat, OtherValuesGoToTheNearer)
{
    EXPECT_EQ(FormatFixed(0.9999, 2), "1.00");
    EXPECT_EQ(FormatFixed(static_cast<float>(2.4999), 0), "2");
    EXPECT_EQ(FormatFixed(1.23449993133544921875, 8), "1.23449993");
    EXPECT_EQ(FormatFixed(1.23449993133544921875, 4), "1.2345");
    EXPECT_EQ(FormatFixed(static_cast<float>(0.1), 30), "0.100000001490116119384765625000");
    EXPECT_EQ(FormatFixed(123456.0, 3), "123456.000");
    EXPECT_EQ(FormatFixed(0.0, 2), "0.00");
    EXPECT_EQ(FormatFixed(999999.9996, 3), "1000000.000");
}

TEST(FixedFormat, NegativeValuesThatRoundToZeroKeepTheirSign)
{
    EXPECT_EQ(FormatFixed(-0.0001, 2), "-0.00");
    EXPECT_EQ(FormatFixed(-0.4, 0), "-0");
    EXPECT_EQ(FormatFixed(-1.5, 4), "-1.5000");
}

TEST(FixedFormat, ManyDecimalsArePaddedWithZeros)
{
    const CString text = FormatFixed(0.5, 300);
    ASSERT_EQ(text.GetLength(), 302);
    EXPECT_EQ(text.View().substr(0, 4), "0.50");
    EXPECT_EQ(text.View().find_first_not_of('0', 3), std::string_view::npos);
}
