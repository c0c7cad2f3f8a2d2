#include "core/CString.h"

#include <gtest/gtest.h>

TEST(CString, InsertCountsBytesAndClampsThePosition)
{
    CString s("\xB0\xA1"
              "ab"); // one Chinese character, then ab
    s.Insert(1, "|");
    EXPECT_EQ(s, "\xB0|\xA1"
                 "ab"); // bytes, not characters: the character is split
    s.Insert(-5, "<");
    s.Insert(100, ">");
    EXPECT_EQ(s, "<\xB0|\xA1"
                 "ab>");
    EXPECT_EQ(s.GetLength(), 7);
}

TEST(CString, TrimRemovesOnlySingleByteWhiteSpace)
{
    CString s(" \t\r\n\v\f x y \x0B");
    EXPECT_EQ(s.Trim(), "x y");
    // The full-width blank of GBK (A1 A1) is a character, not white space.
    CString wide("\xA1\xA1"
                 "abc\xA1\xA1 ");
    EXPECT_EQ(wide.Trim(), "\xA1\xA1"
                           "abc\xA1\xA1");
    CString blank("   ");
    EXPECT_TRUE(blank.Trim().IsEmpty());
}

TEST(CString, FormatsIntegers)
{
    EXPECT_EQ(CString::FromInt(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(CString::Format("%04d-%02d-%02d   %02d:%02d:%02d", 2026, 1, 2, 3, 4, 5),
              "2026-01-02   03:04:05");
    EXPECT_EQ(CString("ab") + "cd" + CString("e"), "abcde");
}
