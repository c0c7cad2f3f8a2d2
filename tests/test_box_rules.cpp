// What a page's box shows (one rule for every page, by size) and how the pages write a count.
#include "core/BoxRules.h"
#include "core/EventsRules.h"
#include "core/RunMessages.h"

#include <gtest/gtest.h>

#include <string>

namespace {
std::string Lines(long long count, long long length)
{
    std::string text;
    for (long long i = 0; i < count; ++i)
        text.append(static_cast<std::size_t>(length), '7').append("\r\n");
    return text;
}
} // namespace

// The list is measured the same however the batch cuts it into pieces: a CR LF split between two
// pieces ends one line, and a last line without its end counts as a line.
TEST(BoxRules, AListIsMeasuredWhateverItsPieces)
{
    const std::string text = "12\r\n" + std::string(5000, 'x') + "\r\n\r\n" + "tail";
    for (std::size_t cut = 0; cut <= text.size(); ++cut) {
        ListSize size;
        size.Add(std::string_view(text).substr(0, cut));
        size.Add(std::string_view(text).substr(cut));
        ASSERT_EQ(size.Bytes(), static_cast<long long>(text.size())) << cut;
        ASSERT_EQ(size.Lines(), 4) << cut;
        ASSERT_EQ(size.LongestLine(), 5000) << cut;
    }
    ListSize lf;
    lf.Add("abc\nde\n");
    EXPECT_EQ(lf.Lines(), 2);
    EXPECT_EQ(lf.LongestLine(), 3);
}

// Each limit holds at its value and refuses one more: lines, bytes, the longest line.
TEST(BoxRules, EachLimitHoldsAtItsValue)
{
    EXPECT_TRUE(FitsTheBox(""));
    EXPECT_TRUE(FitsTheBox(Lines(MAX_SHOWN_LINES, 1)));
    EXPECT_FALSE(FitsTheBox(Lines(MAX_SHOWN_LINES + 1, 1)));
    const long long perLine = 30;
    const long long most = MAX_SHOWN_BYTES / (perLine + 2);
    std::string bytes = Lines(most, perLine);
    bytes.append(static_cast<std::size_t>(MAX_SHOWN_BYTES) - bytes.size(), '7');
    ASSERT_EQ(static_cast<long long>(bytes.size()), MAX_SHOWN_BYTES);
    EXPECT_TRUE(FitsTheBox(bytes));
    EXPECT_FALSE(FitsTheBox(bytes + "7"));
    EXPECT_TRUE(FitsTheBox(Lines(3, MAX_SHOWN_LINE_BYTES)));
    EXPECT_FALSE(FitsTheBox(Lines(1, MAX_SHOWN_LINE_BYTES + 1)));
    // The Part's lists of at most 1000 strings of 2000 characters, Chinese ones included.
    EXPECT_TRUE(FitsTheBox(Lines(1000, 4000)));
}

TEST(RunMessages, CountsAreWrittenWithThousandsSeparators)
{
    EXPECT_EQ(CountText(0), "0");
    EXPECT_EQ(CountText(999), "999");
    EXPECT_EQ(CountText(1000), "1,000");
    EXPECT_EQ(CountText(3334144), "3,334,144");
    EXPECT_EQ(CountText(2147483647), "2,147,483,647");
    EXPECT_EQ(CountText(-1234567), "-1,234,567");
    EXPECT_EQ(StoppedMessage(220, 1000), "生成已停止：已生成 220 个，共 1,000 个。");
    EXPECT_EQ(ShowStoppedMessage(136155, 200000, "x"),
              "显示已停止：已显示 136,155 个，共 200,000 个；x");
    // The interval page's words group them too; the command line's stay as they were.
    EventSeries series(0, 0, 5000);
    for (int i = 0; i < 1200; ++i)
        series.Fired(i % 2 == 0);
    EXPECT_EQ(series.EndMessage(true, Language::Chinese, true),
              "生成已停止：已发生 1,200 次，共 5,000 次。\r\n外部程序有 600 次未能启动！");
    EXPECT_EQ(series.EndMessage(true),
              "生成已停止：已发生 1200 次，共 5000 次。\r\n外部程序有 600 次未能启动！");
}
