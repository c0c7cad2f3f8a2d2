// Uniqueness from any source, and the exact makers it numbers: the dense shuffle only where the
// records can be numbered, a permutation of them; the longest item that the exact range writes.
#include "core/ComposerSources.h"
#include "core/Unique.h"

#include <gtest/gtest.h>

#include <cstring>
#include <set>

namespace {

// A uniform source whose bytes follow from a counter: the same draws in every run.
void CountingFill(void* buffer, std::size_t n)
{
    static std::uint64_t state = 0;
    for (std::size_t i = 0; i < n; i += 8) {
        std::uint64_t word = (state += 0x9E3779B97F4A7C15u);
        word = (word ^ (word >> 31)) * 0xBF58476D1CE4E5B9u;
        std::memcpy(static_cast<char*>(buffer) + i, &word, std::min<std::size_t>(8, n - i));
    }
}

ExactRange Range(const char* min, const char* max, bool whole, bool decimal, int decimals)
{
    TypedDecimal lo, hi;
    lo.Read(min);
    hi.Read(max);
    ExactRange range;
    EXPECT_EQ(MakeExactRange(lo, hi, whole, decimal, decimals, range), RangeProblem::None);
    return range;
}

} // namespace

TEST(Unique, ADenseBatchIsShuffledOnlyWhereItsRecordsCanBeNumbered)
{
    const UniqueSpace dice = NumbersSpace(Range("1", "100", true, false, 0));
    EXPECT_EQ(dice.distinct, 100u);
    EXPECT_EQ(PlanUnique(dice, 25).way, UniquePlan::Shuffle);
    EXPECT_EQ(PlanUnique(dice, 24).way, UniquePlan::Bitmap); // sparse: one bit a value
    // The classic draws cannot be numbered: their records are the page's, made and remembered.
    const NumberOptions page{.m_bInteger = 1, .m_fMin = 1, .m_fMax = 100, .m_nCount = 100};
    EXPECT_EQ(PlanUnique(NumbersSpace(page), 100).way, UniquePlan::Bitmap);
    const StringOptions digits{.m_bDigit = 1, .m_nLenMin = 2, .m_nLenMax = 2};
    EXPECT_EQ(PlanUnique(StringsSpace(digits), 100).way, UniquePlan::Remember);
}

TEST(Unique, TheShuffleAndTheSparseSetMakeEveryRecordOnce)
{
    UniformSource source(&CountingFill);
    const ExactRange range = Range("-0.5", "0.5", false, true, 2); // 101 decimals
    const NumberItemMaker maker(NumberOptions{}, range);
    for (const std::int64_t count : {101, 20}) {
        const UniquePlan plan = PlanUnique(NumbersSpace(range), count);
        EXPECT_EQ(plan.way, count == 101 ? UniquePlan::Shuffle : UniquePlan::Remember);
        StringSink sink;
        bool exhausted = true;
        MakeUniqueBatch(plan, count, "\n", maker, source, sink, {}, exhausted);
        EXPECT_FALSE(exhausted);
        std::set<std::string> seen;
        for (std::size_t at = 0, end; (end = sink.text.find('\n', at)) != std::string::npos;
             at = end + 1) {
            const double value = std::stod(sink.text.substr(at, end - at));
            EXPECT_TRUE(value >= -0.5 && value <= 0.5) << value;
            seen.insert(sink.text.substr(at, end - at));
        }
        EXPECT_EQ(seen.size(), static_cast<std::size_t>(count));
    }
}

TEST(Unique, ExactStringsAreNumberedByTheirLettersInEveryOrder)
{
    Alphabet letters;
    AlphabetChoice digits;
    digits.classes = CLASS_DIGIT;
    std::uint8_t lost = 0;
    ASSERT_EQ(BuildAlphabet(digits, letters, lost), AlphabetProblem::None);
    TwisterIntegers integers(1);
    FieldWalker fields;
    const StringOptions opt{.m_strHead = "<", .m_strInsert = "1|-", .m_nLenMin = 2, .m_nLenMax = 2};
    StringComposer composer(opt, letters, SourcesOf(integers, fields));
    const UniqueSpace space = StringsSpace(opt, letters, OddsOf(letters, 2, 2));
    EXPECT_EQ(space.numbered, 100u);
    std::string numbered;
    for (const std::uint64_t n : {0, 7, 42, 99})
        composer.AppendNumbered(numbered, n);
    EXPECT_EQ(numbered, "<-00<-70<-24<-99"); // the body's first letter is the lowest digit
}

TEST(ExactNumbers, TheLongestItemIsAsLongAsTheWidestEndWritten)
{
    struct Case {
        const char *min, *max;
        bool whole;
        int decimals;
        long long longest;
    };
    for (const Case& c :
         {Case{"-1", "1", false, 20, 23}, Case{"0", "0.05", false, 2, 4},
          Case{"-0.001", "-0.0005", false, 4, 7}, Case{"-9223372036854775808", "5", true, 0, 20}}) {
        const ExactRange range = Range(c.min, c.max, c.whole, !c.whole, c.decimals);
        const NumberItemMaker maker(NumberOptions{}, range);
        std::string low, high;
        maker.AppendNumbered(low, 0);
        maker.AppendNumbered(high, NumbersSpace(range).numbered - 1);
        EXPECT_EQ(std::max(low.size(), high.size()), static_cast<std::size_t>(c.longest)) << low;
        EXPECT_EQ(LongestNumberItem(range), c.longest) << c.min << " .. " << c.max;
    }
}
