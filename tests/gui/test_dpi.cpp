// Display scale: the manifest's awareness as Windows reads it, and the pages below the tab headers
// at the scale this run has. The suite runs at 100 % with the others and once more at 150 % in a
// Wine prefix of its own (see the test list); ZANFOR_EXPECT_DPI names the scale a run expects.
//
// GetDpiForWindow exists from Windows 10 on: this file alone asks for its declaration.
#undef WINVER
#undef _WIN32_WINNT
#define WINVER 0x0A00
#define _WIN32_WINNT 0x0A00

#include "Harness.h"
#include "app/GeneratorDlg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

namespace {

UINT ExpectedDpi()
{
    const char* expected = std::getenv("ZANFOR_EXPECT_DPI");
    return expected ? static_cast<UINT>(std::atoi(expected)) : USER_DEFAULT_SCREEN_DPI;
}

std::wstring Setting(HANDLE actCtx, const wchar_t* ns, const wchar_t* name)
{
    wchar_t value[64] = {};
    SIZE_T written = 0;
    if (!QueryActCtxSettingsW(0, actCtx, ns, name, value, 64, &written))
        return L"<missing>";
    return value;
}

// Where a page lies in the tab control's client area, in pixels: 1, 21, 3 and 3 from its left,
// top, right and bottom edges at 100 %, scaled and rounded at the other scales the tests run at.
RECT PageOffsets(UINT dpi)
{
    switch (dpi) {
    case 96:
        return {1, 21, 3, 3};
    case 144:
        return {2, 32, 5, 5};
    }
    ADD_FAILURE() << "no offsets known for " << dpi << " DPI";
    return {};
}

RECT InParent(HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class Dpi : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(IDD_GENERATOR_DIALOG, nullptr));
        catcher.ignored.insert(dlg.m_hWnd);
        tab = GetDlgItem(dlg.m_hWnd, IDC_TAB_PAGES);
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            DestroyWindow(dlg.m_hWnd);
    }

    // Every page where the layout puts it at dpi; away from 100 %, also below the tab headers.
    void ExpectPagesPlaced(UINT dpi)
    {
        RECT client;
        GetClientRect(tab, &client);
        RECT display = client;
        SendMessageW(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&display));
        const RECT offsets = PageOffsets(dpi);
        RECT want{client.left + offsets.left, client.top + offsets.top,
                  client.right - offsets.right, client.bottom - offsets.bottom};
        if (dpi != USER_DEFAULT_SCREEN_DPI)
            want.top = std::max(want.top, display.top);
        for (HWND page :
             {dlg.m_pageStrings.m_hWnd, dlg.m_pageNumbers.m_hWnd, dlg.m_pageInterval.m_hWnd}) {
            const RECT got = InParent(page);
            EXPECT_EQ(got.left, want.left);
            EXPECT_EQ(got.top, want.top);
            EXPECT_EQ(got.right, want.right);
            EXPECT_EQ(got.bottom, want.bottom);
            if (dpi == USER_DEFAULT_SCREEN_DPI)
                continue; // at 100 % the offsets are fixed, whatever the headers' height
            EXPECT_GE(got.top, display.top);
            for (int i = 0; i < 3; ++i) {
                RECT header;
                ASSERT_TRUE(
                    SendMessageW(tab, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&header)));
                EXPECT_GE(got.top, header.bottom) << "tab " << i;
            }
        }
    }

    BoxCatcher catcher;
    CGeneratorDlg dlg;
    HWND tab = nullptr;
};

} // namespace

TEST(DpiManifest, AsksForPerMonitorV2WithSystemAwarenessToFallBackOn)
{
    // Read as Windows reads it when the program starts: the activation context of the built exe.
    const std::wstring exe = ExeFolder() + L"Zanfor.exe";
    ACTCTXW ctx{};
    ctx.cbSize = sizeof ctx;
    ctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    ctx.lpSource = exe.c_str();
    ctx.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE actCtx = CreateActCtxW(&ctx);
    ASSERT_NE(actCtx, INVALID_HANDLE_VALUE);
    EXPECT_EQ(
        Setting(actCtx, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
        L"PerMonitorV2, System");
    EXPECT_EQ(
        Setting(actCtx, L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
        L"true");
    ReleaseActCtx(actCtx);
    // Wine makes every program per-monitor aware, manifest or not: what the running process
    // reports here would prove nothing.
}

TEST_F(Dpi, PagesLieBelowTheTabHeadersAtThisScale)
{
    // The run says which scale it expects, so a prefix without its scale cannot pass.
    const UINT dpi = ExpectedDpi();
    ASSERT_EQ(GetDpiForWindow(dlg.m_hWnd), dpi);
    EXPECT_EQ(dlg.m_nDpi, dpi);
    ExpectPagesPlaced(dpi);
}

TEST_F(Dpi, MovedToAnotherScaleTheWindowTakesTheSuggestedRectangle)
{
    const UINT other = ExpectedDpi() == 96 ? 144 : 96;
    RECT before;
    GetWindowRect(dlg.m_hWnd, &before);
    const LONG width = MulDiv(before.right - before.left, other, ExpectedDpi());
    const LONG height = MulDiv(before.bottom - before.top, other, ExpectedDpi());
    RECT suggested{before.left + 10, before.top + 20, before.left + 10 + width,
                   before.top + 20 + height};
    SendMessageW(dlg.m_hWnd, WM_DPICHANGED, MAKEWPARAM(other, other),
                 reinterpret_cast<LPARAM>(&suggested));

    RECT after;
    GetWindowRect(dlg.m_hWnd, &after);
    EXPECT_EQ(after.left, suggested.left);
    EXPECT_EQ(after.top, suggested.top);
    EXPECT_EQ(after.right, suggested.right);
    EXPECT_EQ(after.bottom, suggested.bottom);
    EXPECT_EQ(dlg.m_nDpi, other);
    ExpectPagesPlaced(other);

    // Windows then scales the dialog's own controls, the tab control among them; the pages
    // follow the tab control's new size once that is done.
    const RECT tabRect = InParent(tab);
    MoveWindow(tab, tabRect.left, tabRect.top, tabRect.right - tabRect.left + 30,
               tabRect.bottom - tabRect.top + 40, TRUE);
    RECT client;
    GetClientRect(tab, &client);
    const LONG wantRight = client.right - PageOffsets(other).right;
    ASSERT_TRUE(PumpUntil([&] { return InParent(dlg.m_pageStrings.m_hWnd).right == wantRight; }));
    ExpectPagesPlaced(other);
}
