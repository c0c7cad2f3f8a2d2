// The program's texts do not depend on the system's ANSI code page: this suite runs once under a
// Chinese locale and once under a non-Chinese one (see the test list), with the same results.
#include "PageFixture.h"
#include "pages/StringsPage.h"

#include <cstdlib>

using Locale = PageFixture<CStringsPage>;

TEST_F(Locale, ChineseTextsAndResultsFileBytesAreTheSameOnAnyCodePage)
{
    // The run says which code page it expects, so a run under the wrong locale cannot pass.
    if (const char* expected = std::getenv("ZANFOR_EXPECT_ACP")) {
        EXPECT_EQ(GetACP(), static_cast<UINT>(std::atoi(expected)));
    }

    EXPECT_EQ(GetText(hwnd, IDC_CHECK_HANZI), L"汉字");
    SetText(hwnd, IDC_EDIT_HEAD, L"测试");
    SetText(hwnd, IDC_EDIT_TAIL, L"。");
    SetText(hwnd, IDC_EDIT_STR_COUNT, L"3");
    Click(hwnd, IDC_BTN_STR_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    EXPECT_EQ(catcher.boxes[0].text, L"生成成功！");
    const auto lines = SplitLines(GetText(hwnd, IDC_EDIT_STR_OUTPUT));
    ASSERT_EQ(lines.size(), 3u);
    const std::string file = ReadFileBytes(Widen(page->m_strOutFile.Str()));
    std::size_t at = 0;
    for (const std::wstring& line : lines) {
        EXPECT_EQ(line.substr(0, 2), L"测试");
        EXPECT_EQ(line.back(), L'。');
        // 测试 and 。 in GBK, then the body's letters, then the record's line end.
        ASSERT_EQ(file.compare(at, 4, "\xB2\xE2\xCA\xD4"), 0);
        at = file.find("\xA1\xA3\r\n", at);
        ASSERT_NE(at, std::string::npos);
        at += 4;
    }
    EXPECT_EQ(at, file.size());
}
