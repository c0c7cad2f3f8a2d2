#include "core/FieldText.h"

#include <gtest/gtest.h>

#include <climits>
#include <clocale>
#include <cmath>
#include <limits>
#include <string>

TEST(IntFromText, ReadsLikeAtoi)
{
    EXPECT_EQ(IntFromText(""), 0);
    EXPECT_EQ(IntFromText("  42abc"), 42);
    EXPECT_EQ(IntFromText("abc"), 0);
    EXPECT_EQ(IntFromText("-7"), -7);
    EXPECT_EQ(IntFromText("3.9"), 3);
    EXPECT_EQ(IntFromText("+12"), 12);
    EXPECT_EQ(IntFromText("\t\r\n\v\f 8"), 8);
    EXPECT_EQ(IntFromText("- 5"), 0);  // the sign must touch the digits
    EXPECT_EQ(IntFromText("0x1F"), 0); // no hexadecimal
    EXPECT_EQ(IntFromText("\xA1\xA1"
                          "5"),
              0); // a full-width blank is not white space
}

TEST(IntFromText, ClampsOutsideTheSigned32BitRange)
{
    EXPECT_EQ(IntFromText("2147483647"), INT_MAX);
    EXPECT_EQ(IntFromText("-2147483648"), INT_MIN);
    EXPECT_EQ(IntFromText("2147483648"), INT_MAX);
    EXPECT_EQ(IntFromText("-2147483649"), INT_MIN);
    EXPECT_EQ(IntFromText("99999999999999999999999999"), INT_MAX);
}

TEST(FloatFromText, ReadsLikeAtofThenRoundsToFloat)
{
    EXPECT_EQ(FloatFromText(""), 0.0f);
    EXPECT_EQ(FloatFromText("1.5e2"), 150.0f);
    EXPECT_EQ(static_cast<double>(FloatFromText("0.1")), 0.100000001490116119384765625);
    EXPECT_EQ(static_cast<double>(FloatFromText("0.7")), 0.699999988079071044921875);
    EXPECT_EQ(FloatFromText("  -2.5xyz"), -2.5f);
    EXPECT_EQ(FloatFromText(".5"), 0.5f);
    EXPECT_EQ(FloatFromText("5."), 5.0f);
    EXPECT_EQ(FloatFromText("+3"), 3.0f);
    EXPECT_EQ(FloatFromText("1e"), 1.0f); // an exponent without digits is not part of it
    EXPECT_EQ(FloatFromText("1e+x"), 1.0f);
    EXPECT_EQ(FloatFromText("2E-1"), 0.2f);
    EXPECT_EQ(FloatFromText("."), 0.0f);
    EXPECT_EQ(FloatFromText("-"), 0.0f);
    EXPECT_EQ(FloatFromText("1,5"), 1.0f); // '.' is the only decimal point
}

TEST(FloatFromText, NoWordsAndNoHexadecimal)
{
    EXPECT_EQ(FloatFromText("inf"), 0.0f);
    EXPECT_EQ(FloatFromText("-infinity"), 0.0f);
    EXPECT_EQ(FloatFromText("nan"), 0.0f);
    EXPECT_EQ(FloatFromText("0x10"), 0.0f);
    EXPECT_EQ(FloatFromText("0x1p3"), 0.0f);
}

TEST(FloatFromText, RoundsTheDecimalTextOnceToDoubleThenToFloat)
{
    // Just above the halfway point between 1 and the next float, but the nearest double is that
    // halfway point itself, which then rounds to even: atof followed by a float conversion gives 1.
    EXPECT_EQ(FloatFromText("1.00000005960464477539062500001"), 1.0f);
    EXPECT_EQ(FloatFromText("1.00000006"), std::nextafter(1.0f, 2.0f));
    EXPECT_EQ(FloatFromText("16777217"), 16777216.0f); // halfway: to even
}

TEST(FloatFromText, HugeAndTinyValues)
{
    EXPECT_EQ(FloatFromText("1e39"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(FloatFromText("-1e400"), -std::numeric_limits<float>::infinity());
    EXPECT_EQ(FloatFromText("1e-400"), 0.0f);
    EXPECT_EQ(FloatFromText("3.4028235e38"), std::numeric_limits<float>::max());
    EXPECT_EQ(FloatFromText("0.000e99999"), 0.0f);
}

TEST(FloatFromText, LongRunsOfZerosAgainstHugeExponents)
{
    // The exponent outweighs the zeros only when it is read in full.
    const std::string zeros(200000, '0');
    EXPECT_EQ(FloatFromText("0." + zeros + "1e1000000000"), std::numeric_limits<float>::infinity());
    EXPECT_EQ(FloatFromText("1" + zeros + "e-1000000000"), 0.0f);
    EXPECT_EQ(FloatFromText("0." + zeros + "1e200001"), 1.0f);
}

TEST(FloatFromText, SameResultInACommaLocale)
{
    // The runtime's locale must not change what a box reads as.
    const char* before = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = before ? before : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8") &&
        !std::setlocale(LC_NUMERIC, "German"))
        GTEST_SKIP() << "no locale with a decimal comma here";
    EXPECT_EQ(FloatFromText("2.75"), 2.75f);
    std::setlocale(LC_NUMERIC, saved.c_str());
}
