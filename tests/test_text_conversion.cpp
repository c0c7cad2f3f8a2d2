// The conversions between GBK and the system's encodings: an orphaned lead byte stands alone, and
// long texts go through the system's converters in pieces that never cut a character.
#include "core/GbkText.h"
#include "platform/TextConversion.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include <gtest/gtest.h>

#include <string>

TEST(GbkText, AnOrphanedLeadByteNeverSwallowsTheByteAfterIt)
{
    // "ab", the lead byte of 中 split from its trail by an inserted '-', then 文 and a line end.
    const std::string_view split = "ab\xD6-\xD0\xCE\xC4\r\n";
    EXPECT_EQ(FindOrphanLead(split), 2u);
    EXPECT_EQ(FindOrphanLead(split, 3), 6u);       // 形 (D0 CE), then the lead of 文 before CR
    EXPECT_EQ(FindOrphanLead("\xD6\xD0\xCE"), 2u); // at the end
    EXPECT_EQ(FindOrphanLead("\xCE\r\n"), 0u);     // before CR LF
    EXPECT_EQ(FindOrphanLead("\xD6\xD0\x80"), std::string_view::npos); // 0x80 stands alone
#ifdef _WIN32
    EXPECT_EQ(WideFromGbk(split), L"ab\xFFFD-\x5F62\xFFFD\r\n"); // 形 is D0CE
    EXPECT_EQ(WideFromGbk("\xD6\xD0\xCE"), L"\x4E2D\xFFFD");
    EXPECT_EQ(WideFromGbk("x\xCE\r\ny"), L"x\xFFFD\r\ny");
#endif
}

#ifdef _WIN32
TEST(WideText, LongTextsConvertInPiecesThatNeverCutACharacter)
{
    // 中 (D6D0) after one and after two ASCII bytes, so that some cut falls inside each pair;
    // 丂 (8140), whose trail looks like '@'; an orphaned lead before CR LF.
    const std::string gbk = "a\xD6\xD0"
                            "bc\xD6\xD0"
                            "\x81\x40"
                            "d\xCE\r\n";
    const std::wstring wide = WideFromGbk(gbk);
    ASSERT_EQ(wide, L"a\x4E2D"
                    L"bc\x4E2D"
                    L"\x4E02"
                    L"d\xFFFD\r\n");
    std::string utf8;
    AppendUtf8FromGbk(gbk, utf8);
    // A character GBK cannot spell, in a piece of its own when pieces are small: the replacement
    // is still told.
    const std::wstring withEmoji = L"\x4E2D"
                                   L"x\xD83D\xDE00"
                                   L"y";
    bool lossy = false;
    const std::string narrow = GbkFromWide(withEmoji, &lossy).Str();
    EXPECT_TRUE(lossy);
    for (std::size_t piece : {2u, 3u, 4u, 5u}) {
        EXPECT_EQ(WideFromGbk(gbk, piece), wide) << piece;
        std::string inPieces;
        AppendUtf8FromGbk(gbk, inPieces, piece);
        EXPECT_EQ(inPieces, utf8) << piece;
        bool lossyInPieces = false;
        EXPECT_EQ(GbkFromWide(withEmoji, &lossyInPieces, piece).Str(), narrow) << piece;
        EXPECT_TRUE(lossyInPieces) << piece;
        EXPECT_EQ(GbkFromWide(wide.substr(0, 5), &lossyInPieces, piece).Str(), gbk.substr(0, 7));
        EXPECT_FALSE(lossyInPieces) << piece;
    }
    // And back from UTF-8, whose characters take up to four bytes: some cut falls inside each.
    std::string emojiUtf8;
    AppendFromWide(emojiUtf8, withEmoji, CP_UTF8);
    for (std::size_t piece : {4u, 5u, 6u, 7u}) {
        EXPECT_EQ(WideFromUtf8(utf8, piece), wide) << piece;
        std::wstring strict;
        EXPECT_TRUE(WideFromStrictUtf8(emojiUtf8, strict, piece)) << piece;
        EXPECT_EQ(strict, withEmoji) << piece;
    }
    std::wstring refused = L"x";
    EXPECT_FALSE(WideFromStrictUtf8("ab\xFF", refused));
    EXPECT_TRUE(refused.empty());
}
#endif
