#include "CoreFixture.h"
#include "core/Random.h"
#include "core/StringComposer.h"

#include <gtest/gtest.h>

namespace {

StringOptions Options(BOOL upper, BOOL lower, BOOL digit, BOOL hanzi, int lenMin, int lenMax)
{
    return StringOptions{upper, lower, digit, hanzi, "", "", "", lenMin, lenMax};
}

bool IsLevelOneHanzi(unsigned char lead, unsigned char trail)
{
    if (lead < 0xB0 || lead > 0xD7 || trail < 0xA1 || trail > 0xFE)
        return false;
    return !(lead == 0xD7 && trail >= 0xFA);
}

class Composer : public WithCore {};

} // namespace

TEST_F(Composer, InsertionWorkedExamples)
{
    struct Case {
        const char* spec;
        const char* result;
    };
    const Case cases[] = {
        {"5|-|2|_", "ab_XYZ-12"},
        {"2|_|5|-", "ab_XYZ12"},
        {"6|-|4|-|2|-", "ab-XY-Z1-2"},
        {"7|!", "abXYZ12!"},
        {"8|!", "abXYZ12"},
        {"0|#|3|*", "#ab*XYZ12"},
        {"-3|#|1|*", "#abXYZ12"},
        {"x|#", "#abXYZ12"},
        {"4|AB|4|CD", "abXYABZ12"},
        {"3", "abXYZ12"},
        {"3|", "abXYZ12"},
        {"", "abXYZ12"},
        {"5||2|_", "ab_XYZ12"},         // an empty text still counts: 2 is below 5
        {"5|-||2|_", "abXYZ-12"},       // an empty position field ends the step
        {"5|a b |2|_", "ab_XYZa b 12"}, // white space inside a text stays
        {"6|-|9|!|3|+",
         "abX+YZ1-2"}, // 9 is out of range and skipped; the pairs after it still count
    };
    for (const Case& c : cases) {
        StringOptions opt = Options(1, 0, 0, 0, 0, 0);
        opt.m_strInsert = c.spec;
        EXPECT_EQ(ApplyInserts(opt, sources, "abXYZ12"), c.result) << "spec " << c.spec;
    }
}

TEST_F(Composer, ChineseCharactersAreLevelOneGb2312)
{
    SeedRandom(11u);
    StringOptions opt = Options(0, 0, 0, 1, 3, 3);
    for (int i = 0; i < 2000; ++i) {
        const CString s = MakeString(opt, sources);
        ASSERT_EQ(s.GetLength(), 6);
        for (int k = 0; k < 6; k += 2)
            ASSERT_TRUE(IsLevelOneHanzi(static_cast<unsigned char>(s[k]),
                                        static_cast<unsigned char>(s[k + 1])))
                << std::hex << (static_cast<unsigned char>(s[k]) + 0);
    }
    // Every row and every column comes up, row 55 only to column 89 (F9).
    bool lead[0x100] = {}, trail[0x100] = {};
    bool row55PastF9 = false;
    for (int i = 0; i < 200000; ++i) {
        const CString c = RandomHanzi(sources);
        const auto a = static_cast<unsigned char>(c[0]), b = static_cast<unsigned char>(c[1]);
        lead[a] = trail[b] = true;
        row55PastF9 |= a == 0xD7 && b > 0xF9;
    }
    for (int x = 0xB0; x <= 0xD7; ++x)
        EXPECT_TRUE(lead[x]) << std::hex << x;
    for (int x = 0xA1; x <= 0xFE; ++x)
        EXPECT_TRUE(trail[x]) << std::hex << x;
    EXPECT_FALSE(row55PastF9);
}

TEST_F(Composer, BodyUsesOnlyTheChosenClasses)
{
    SeedRandom(2u);
    int digits = 0, letters = 0;
    const StringOptions onlyDigits = Options(0, 0, 1, 0, 1, 30);
    const StringOptions upperAndDigits = Options(1, 0, 1, 0, 1, 30);
    for (int i = 0; i < 500; ++i) {
        const CString digitsOnly = MakeString(onlyDigits, sources);
        for (char c : digitsOnly.View())
            ASSERT_TRUE(c >= '0' && c <= '9');
        const CString mixed = MakeString(upperAndDigits, sources);
        for (char c : mixed.View()) {
            ASSERT_TRUE((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z'));
            (c <= '9' ? digits : letters)++;
        }
    }
    // Each chosen class is equally likely, however many characters it holds.
    EXPECT_NEAR(static_cast<double>(digits) / (digits + letters), 0.5, 0.03);
}

TEST_F(Composer, HeadTailAndLength)
{
    SeedRandom(4u);
    StringOptions opt = Options(1, 1, 1, 0, 2, 2);
    opt.m_strHead = "id";
    opt.m_strTail = "x";
    for (int i = 0; i < 100; ++i) {
        const CString s = MakeString(opt, sources);
        ASSERT_EQ(s.GetLength(), 5);
        EXPECT_EQ(s.View().substr(0, 2), "id");
        EXPECT_EQ(s[4], 'x');
    }
    // A drawn length of zero or less draws no character: only head and tail, with the insertions.
    StringOptions empty = Options(1, 0, 0, 0, -5, 0);
    empty.m_strHead = " h ";
    empty.m_strTail = "t";
    empty.m_strInsert = "4|!|0|<";
    SeedRandom(4u);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(MakeString(empty, sources), "< h t!");
    const int next = RandDraw();
    SeedRandom(4u);
    for (int i = 0; i < 20; ++i)
        RandDraw();
    EXPECT_EQ(next, RandDraw()); // one draw per string, for its length
}

TEST_F(Composer, OddPositionSplitsAChineseCharacter)
{
    SeedRandom(6u);
    StringOptions opt = Options(0, 0, 0, 1, 2, 2);
    opt.m_strInsert = "1|-";
    const CString s = MakeString(opt, sources);
    ASSERT_EQ(s.GetLength(), 5);
    EXPECT_EQ(s[1], '-');
    EXPECT_TRUE(
        IsLevelOneHanzi(static_cast<unsigned char>(s[0]), static_cast<unsigned char>(s[2])));
}
