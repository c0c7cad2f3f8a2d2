// The user guide's Markdown as the help window shows it: no markup left, headings found.
#include "core/GuideText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

// Narrow literals are GBK in this build; the guide is UTF-8.
std::string U8(std::u8string_view s)
{
    return std::string(s.begin(), s.end());
}

} // namespace

TEST(GuideText, RendersEachKindOfBlockWithoutItsMarkup)
{
    struct Case {
        std::u8string_view markdown;
        std::u8string_view text;
    };
    const Case cases[] = {
        // Emphasis, code spans (a bar escaped for a table stays a bar), links; images go.
        {u8"按 **Enter**，`3|-` 见[停止](#停止)。![图](a.png)\n", u8"按 Enter，3|- 见停止。\r\n"},
        {u8"![只有图](a.png)\n\n下一段\n", u8"下一段\r\n"},
        {u8"a \\*b\\* `` x`y ``\n", u8"a *b* x`y\r\n"},
        // Lines of one paragraph are joined; Chinese without a blank, words with one.
        {u8"第一行\n第二行\nmore\nwords\n\n新段\n", u8"第一行第二行more words\r\n\r\n新段\r\n"},
        // Lists keep their numbers, bullets become dots; a continuation line joins its item.
        {u8"- 一\n  续\n1. 二\n   - 三\n", u8"· 一续\r\n1. 二\r\n   · 三\r\n"},
        // A code block is shown as it is, indented under its item.
        {u8"1. 例：\n   ```\n   a **b** `c`\n   ```\n", u8"1. 例：\r\n       a **b** `c`\r\n"},
        // A table: one item a row, a line for every other cell that is not empty; an empty first
        // cell goes on with the item above; a bar in code is escaped in the cell.
        {u8"| 插入 | 结果 | 说明 |\n|---|:---:|---|\n| `7\\|-` | `a-b` | 两处 |\n"
         u8"| | c | |\n",
         u8"● 7|-\r\n    结果：a-b\r\n    说明：两处\r\n    结果：c\r\n"},
        // A table of images alone shows nothing.
        {u8"前\n\n| 运行中 | 已停止 |\n|---|---|\n| ![a](a.png) | ![b](b.png) |\n\n后\n",
         u8"前\r\n\r\n后\r\n"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(RenderGuide(U8(c.markdown)).text, U8(c.text)) << U8(c.markdown);
}

TEST(GuideText, ListsTheHeadingsWhereTheirLinesStart)
{
    const GuideText guide =
        RenderGuide(U8(u8"# 说明\n\n开头\n\n## 字符串页\n\n### 设置 ###\n\n| a | b |\n|---|---|\n"
                       u8"| 1 | 2 |\n## 数字页\n正文\n"));
    EXPECT_EQ(guide.text, U8(u8"说明\r\n\r\n开头\r\n\r\n【字符串页】\r\n\r\n■ 设置\r\n\r\n"
                             u8"● 1\r\n    b：2\r\n\r\n【数字页】\r\n\r\n正文\r\n"));
    ASSERT_EQ(guide.sections.size(), 4u);
    const std::u8string_view titles[] = {u8"说明", u8"字符串页", u8"设置", u8"数字页"};
    const int levels[] = {1, 2, 3, 2};
    const std::u8string_view shown[] = {u8"说明\r\n", u8"【字符串页】\r\n", u8"■ 设置\r\n",
                                        u8"【数字页】\r\n"};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(guide.sections[i].title, U8(titles[i]));
        EXPECT_EQ(guide.sections[i].level, levels[i]);
        EXPECT_EQ(guide.text.substr(guide.sections[i].offset, U8(shown[i]).size()), U8(shown[i]));
    }
}

// The guide itself (copied into the build folder under an ASCII name): every page's section is
// there, and none of the markup it uses shows.
TEST(GuideText, TheUserGuideShowsNoMarkup)
{
    std::ifstream file("../UserGuide.md", std::ios::binary);
    ASSERT_TRUE(file) << "UserGuide.md beside the tests' folder";
    std::ostringstream bytes;
    bytes << file.rdbuf();
    const GuideText guide = RenderGuide(bytes.str());
    for (std::u8string_view page : {u8"字符串页", u8"数字页", u8"时间页"}) {
        const auto found = std::find_if(guide.sections.begin(), guide.sections.end(),
                                        [&](const GuideSection& s) { return s.title == U8(page); });
        EXPECT_NE(found, guide.sections.end()) << U8(page);
    }
    for (const char* markup : {"**", "`", "|---", "---|", "](", "\\|", "\n#", "\n|"})
        EXPECT_EQ(guide.text.find(markup), std::string::npos) << markup;
}
