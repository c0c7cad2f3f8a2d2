// The pinned golden runs (GoldenRuns.h), made by the batch engine as the pages make them.
#include "CoreFixture.h"
#include "GoldenRuns.h"
#include "core/Batch.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace {

std::string NumbersRun(unsigned seed, BOOL integer, BOOL floating, double lo, double hi,
                       int decimals, int count)
{
    RandomSource rng(seed);
    std::string out;
    MakeNumbersList({.options = {.m_bInteger = integer,
                                 .m_bFloat = floating,
                                 .m_fMin = static_cast<float>(lo),
                                 .m_fMax = static_cast<float>(hi),
                                 .m_nCount = count,
                                 .m_nDecimals = decimals},
                     .count = count},
                    rng, out);
    return out;
}

std::string StringsRun(unsigned seed, const StringOptions& opt, int count)
{
    RandomSource rng(seed);
    StringSink sink;
    std::string shown;
    const BatchResult r =
        MakeStringsBatch({.options = opt, .count = count}, rng, SourcesOf(*g_pCore), sink, &shown);
    EXPECT_EQ(r.made, count);
    EXPECT_EQ(shown, sink.text); // a batch this small is shown as it is written
    return sink.text;
}

class Golden : public WithCore {};

} // namespace

TEST_F(Golden, NumbersRuns)
{
    EXPECT_EQ(NumbersRun(1, 1, 1, 80, 100, 2, 10), kGolden.at("NumbersBothKinds80To100"));
    EXPECT_EQ(NumbersRun(20261207, 1, 1, 80, 100, 2, 10), kGolden.at("NumbersBothKindsOtherSeed"));
    EXPECT_EQ(NumbersRun(7, 0, 1, -1.5, -0.5, 4, 10), kGolden.at("NumbersDecimalsNegative"));
    EXPECT_EQ(NumbersRun(42, 0, 1, 0.7, 1, 8, 10), kGolden.at("NumbersDecimalsEight"));
    EXPECT_EQ(NumbersRun(3, 1, 0, -2.5, 3.9, 2, 12), kGolden.at("NumbersWholeTruncated"));
}

TEST_F(Golden, StringsRuns)
{
    EXPECT_EQ(StringsRun(1,
                         {.m_bUpper = 1,
                          .m_bLower = 1,
                          .m_bDigit = 0,
                          .m_bHanzi = 0,
                          .m_nLenMin = 5,
                          .m_nLenMax = 8},
                         10),
              kGolden.at("StringsDefaults"));
    EXPECT_EQ(StringsRun(99,
                         {.m_bUpper = 1,
                          .m_bLower = 1,
                          .m_bDigit = 1,
                          .m_bHanzi = 0,
                          .m_strHead = "id",
                          .m_strTail = "x",
                          .m_strInsert = "6|-|3|_",
                          .m_nLenMin = 0,
                          .m_nLenMax = 12},
                         10),
              kGolden.at("StringsHeadTailInserts"));
}
