// The catcher itself: what it reports for a box must be able to differ from a page's plain box,
// or the checks on the pages' boxes could not fail.
#include "Harness.h"

#include <gtest/gtest.h>

TEST(BoxCatcher, SeesCaptionTextButtonsAndIcon)
{
    BoxCatcher catcher;
    HostWindow host;
    catcher.onBox = [](const CaughtBox&) { return IDCANCEL; };
    EXPECT_EQ(MessageBoxW(host.hwnd, L"文字", L"标题", MB_OKCANCEL | MB_ICONINFORMATION), IDCANCEL);
    catcher.onBox = nullptr;
    EXPECT_EQ(MessageBoxW(host.hwnd, L"plain", L"", MB_OK), IDOK);
    ASSERT_EQ(catcher.boxes.size(), 2u);
    const CaughtBox& rich = catcher.boxes[0];
    EXPECT_TRUE(rich.isMessageBox);
    EXPECT_EQ(rich.caption, L"标题");
    EXPECT_EQ(rich.text, L"文字");
    EXPECT_EQ(rich.visibleButtons, 2);
    EXPECT_EQ(rich.icons, 1);
    const CaughtBox& plain = catcher.boxes[1];
    EXPECT_EQ(plain.caption, L"");
    EXPECT_EQ(plain.visibleButtons, 1);
    EXPECT_TRUE(plain.okButton);
    EXPECT_EQ(plain.icons, 0);
}
