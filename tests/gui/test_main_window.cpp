#include "Harness.h"
#include "app/GeneratorDlg.h"
#include "app/SoftRecord.h"
#include "corelib/Core.h"
#include "corelib/HexText.h"

#include <gtest/gtest.h>

namespace {

// The main window with its destruction handler reachable, to run it a second time.
class TestGeneratorDlg : public CGeneratorDlg {
public:
    void OnDestroyAgain() { OnDestroy(); }
};

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(g_pCore, nullptr);
        ASSERT_TRUE(dlg.Create(IDD_GENERATOR_DIALOG, nullptr));
        hwnd = dlg.m_hWnd;
        catcher.ignored.insert(hwnd);
        tab = GetDlgItem(hwnd, IDC_TAB_PAGES);
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            DestroyWindow(dlg.m_hWnd);
    }
    void SelectTab(int index)
    {
        SendMessageW(tab, TCM_SETCURSEL, index, 0);
        NMHDR hdr{tab, IDC_TAB_PAGES, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(hwnd, WM_NOTIFY, IDC_TAB_PAGES, reinterpret_cast<LPARAM>(&hdr));
    }
    std::vector<bool> Visible() const
    {
        return {IsWindowVisible(dlg.m_pageStrings.m_hWnd) != FALSE,
                IsWindowVisible(dlg.m_pageNumbers.m_hWnd) != FALSE,
                IsWindowVisible(dlg.m_pageInterval.m_hWnd) != FALSE};
    }
    std::wstring Usage() const { return GetText(hwnd, IDC_STATIC_USAGE); }

    BoxCatcher catcher;
    TestGeneratorDlg dlg;
    HWND hwnd = nullptr;
    HWND tab = nullptr;
};

} // namespace

TEST_F(MainWindow, StartsOnTheStringsTabWithItsUsageLine)
{
    ShowWindow(hwnd, SW_SHOW); // the pages' visibility counts only inside a visible window
    EXPECT_NE(g_pCore, nullptr);
    ASSERT_NE(g_pSoft, nullptr);
    EXPECT_EQ(DecodeHexText(g_pSoft->name), "Zanfor");
    EXPECT_EQ(GetText(hwnd, 0), L"Zanfor ");
    EXPECT_EQ(SendMessageW(tab, TCM_GETITEMCOUNT, 0, 0), 3);
    const wchar_t* tabs[] = {L"字符串", L"数字", L"时间"};
    for (int i = 0; i < 3; ++i) {
        wchar_t text[32] = {};
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = text;
        item.cchTextMax = 32;
        SendMessageW(tab, TCM_GETITEMW, i, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(std::wstring(text), tabs[i]);
    }
    EXPECT_EQ(SendMessageW(tab, TCM_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Visible(), (std::vector<bool>{true, false, false}));
    EXPECT_EQ(Usage(), L"随机密码、用户名、域名、手机号码等");
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0)), dlg.m_hIcon);
    EXPECT_NE(dlg.m_hIcon, nullptr);
}

TEST_F(MainWindow, EachTabShowsOnlyItsPageAndUsageLine)
{
    ShowWindow(hwnd, SW_SHOW);
    SetText(dlg.m_pageNumbers.m_hWnd, IDC_EDIT_NUM_OUTPUT, L"left as it was");
    const wchar_t* usage[] = {L"随机密码、用户名、域名、手机号码等",
                              L"指定数值范围内的整形、浮点数等",
                              L"不定时日期数值，并可执行命令行外部程序"};
    for (int i : {1, 2, 0, 1}) {
        SelectTab(i);
        std::vector<bool> expected(3, false);
        expected[static_cast<std::size_t>(i)] = true;
        EXPECT_EQ(Visible(), expected) << i;
        EXPECT_EQ(Usage(), usage[i]);
    }
    EXPECT_EQ(GetText(dlg.m_pageNumbers.m_hWnd, IDC_EDIT_NUM_OUTPUT), L"left as it was");
    dlg.ShowPage(7); // outside 0..2: the line empties, the pages stay
    EXPECT_EQ(Usage(), L"");
    EXPECT_EQ(Visible(), (std::vector<bool>{false, true, false}));
}

TEST_F(MainWindow, PagesFillTheTabControlBelowItsTabs)
{
    const RECT r = PageRectFromTabClient(RECT{0, 0, 400, 300});
    EXPECT_EQ(r.left, 1);
    EXPECT_EQ(r.top, 21);
    EXPECT_EQ(r.right - r.left, 396);
    EXPECT_EQ(r.bottom - r.top, 276);

    RECT client;
    GetClientRect(tab, &client);
    const RECT want{client.left + 1, client.top + 21, client.right - 3, client.bottom - 3};
    for (HWND page :
         {dlg.m_pageStrings.m_hWnd, dlg.m_pageNumbers.m_hWnd, dlg.m_pageInterval.m_hWnd}) {
        EXPECT_EQ(GetParent(page), tab);
        RECT got;
        GetWindowRect(page, &got);
        MapWindowPoints(nullptr, tab, reinterpret_cast<POINT*>(&got), 2);
        EXPECT_EQ(got.left, want.left);
        EXPECT_EQ(got.top, want.top);
        EXPECT_EQ(got.right, want.right);
        EXPECT_EQ(got.bottom, want.bottom);
    }
}

TEST_F(MainWindow, ARunGoesOnWhileItsPageIsHidden)
{
    ShowWindow(hwnd, SW_SHOW);
    SelectTab(2);
    HWND interval = dlg.m_pageInterval.m_hWnd;
    SetText(interval, IDC_EDIT_INTERVAL_MIN, L"30");
    SetText(interval, IDC_EDIT_INTERVAL_MAX, L"60");
    SetText(interval, IDC_EDIT_TIME_COUNT, L"3");
    Click(interval, IDC_BTN_TIME_GENERATE);
    SelectTab(0);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    EXPECT_EQ(catcher.boxes[0].text, L"生成成功！");
    EXPECT_EQ(SplitLines(GetText(interval, IDC_EDIT_TIME_OUTPUT)).size(), 3u);
    EXPECT_EQ(Visible(), (std::vector<bool>{true, false, false}));
}

TEST_F(MainWindow, TheAboutBoxOpensAndCloses)
{
    ShowWindow(hwnd, SW_SHOW);
    SetActiveWindow(hwnd);
    Click(hwnd, IDC_BTN_ABOUT); // returns once the box is answered
    ASSERT_EQ(catcher.boxes.size(), 1u);
    const CaughtBox& about = catcher.boxes[0];
    EXPECT_FALSE(about.isMessageBox);
    EXPECT_EQ(about.caption, L"关于 Zanfor");
    EXPECT_NE(about.text.find(L"Zanfor\r\n版本 2, 0, 5, 27"), std::wstring::npos);
    EXPECT_NE(about.text.find(L"版权所有 (C) 2026 Zanfor 工作室"), std::wstring::npos);
    EXPECT_EQ(about.visibleButtons, 1);
    EXPECT_TRUE(IsWindow(hwnd));
}

TEST_F(MainWindow, DestroyingReleasesTheGlobalsOnce)
{
    EXPECT_EQ(reinterpret_cast<HICON>(SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0)), dlg.m_hIcon);
    EXPECT_TRUE(DestroyWindow(hwnd));
    EXPECT_EQ(g_pCore, nullptr);
    EXPECT_EQ(g_pSoft, nullptr);
    EXPECT_EQ(dlg.m_hWnd, nullptr);
    dlg.OnDestroyAgain(); // with the globals already null: nothing to release
    EXPECT_EQ(g_pCore, nullptr);

    // A second main window starts from nothing again and releases its own.
    CGeneratorDlg again;
    ASSERT_TRUE(again.Create(IDD_GENERATOR_DIALOG, nullptr));
    EXPECT_NE(g_pCore, nullptr);
    DestroyWindow(again.m_hWnd);
    EXPECT_EQ(g_pCore, nullptr);
}

namespace {
HWND g_modal = nullptr;

BOOL CALLBACK FindShownDialog(HWND hwnd, LPARAM)
{
    wchar_t cls[32];
    GetClassNameW(hwnd, cls, 32);
    if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
        g_modal = hwnd;
        return FALSE;
    }
    return TRUE;
}

// Runs inside the modal loop: Enter (IDOK), then Esc (IDCANCEL), as the dialog manager sends them.
void CALLBACK PressEnterThenEsc(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    EnumThreadWindows(GetCurrentThreadId(), FindShownDialog, 0);
    PostMessageW(g_modal, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    PostMessageW(g_modal, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}
} // namespace

TEST(MainWindowModal, EnterDoesNotEndTheProgramButEscDoes)
{
    ASSERT_EQ(g_pCore, nullptr);
    CGeneratorDlg dlg;
    SetTimer(nullptr, 0, 300, PressEnterThenEsc);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL); // had Enter ended it, the result would be IDOK
    EXPECT_NE(g_modal, nullptr);
    EXPECT_EQ(g_pCore, nullptr); // released on the way out
    EXPECT_EQ(g_pSoft, nullptr);
}

namespace {
// Keys typed into one control of the running program: its page in front, the focus on it, the
// keys posted as the keyboard posts them; the modal loop (the dialog manager) does the rest.
struct KeyRun {
    CGeneratorDlg* dlg = nullptr;
    int page = 0;
    int control = 0;
    std::wstring textAfterEnter;
    bool openAfterEnter = false;
    bool leftOpen = false;
    UINT_PTR giveUp = 0;
};
KeyRun g_keys;

HWND ControlOfRun()
{
    CGeneratorPage* pages[] = {&g_keys.dlg->m_pageStrings, &g_keys.dlg->m_pageNumbers,
                               &g_keys.dlg->m_pageInterval};
    return GetDlgItem(pages[g_keys.page]->m_hWnd, g_keys.control);
}

void Press(HWND target, UINT key)
{
    PostMessageW(target, WM_KEYDOWN, key, 1);
    PostMessageW(target, WM_KEYUP, key, 0xC0000001);
}

void CALLBACK GiveUp(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_keys.leftOpen = true;
    EndDialog(g_keys.dlg->m_hWnd, 0);
}

// A timer's tick comes only when no posted message waits: Enter and the characters it made have
// been handled by then.
void CALLBACK TypeEsc(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    g_keys.textAfterEnter = GetText(GetParent(ControlOfRun()), g_keys.control);
    g_keys.openAfterEnter = IsWindow(g_keys.dlg->m_hWnd) != FALSE;
    Press(ControlOfRun(), VK_ESCAPE);
    g_keys.giveUp = SetTimer(nullptr, 0, 10000, GiveUp);
}

void CALLBACK TypeEnter(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    HWND tab = GetDlgItem(g_keys.dlg->m_hWnd, IDC_TAB_PAGES);
    SendMessageW(tab, TCM_SETCURSEL, g_keys.page, 0);
    NMHDR hdr{tab, IDC_TAB_PAGES, static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(g_keys.dlg->m_hWnd, WM_NOTIFY, IDC_TAB_PAGES, reinterpret_cast<LPARAM>(&hdr));
    SetFocus(ControlOfRun());
    Press(ControlOfRun(), VK_RETURN);
    SetTimer(nullptr, 0, 0, TypeEsc);
}
} // namespace

// Esc closes the window from every page's output box, a multi-line box that sends its Esc to the
// page it lies in, as from a one-line box; Enter keeps its ways: a new line in an output box,
// nothing in a one-line box.
TEST(MainWindowModal, EscClosesTheWindowFromEveryOutputBoxAndEnterKeepsItsWays)
{
    const struct {
        int page, control;
        const wchar_t* afterEnter;
    } cases[] = {{0, IDC_EDIT_STR_OUTPUT, L"\r\n"},
                 {1, IDC_EDIT_NUM_OUTPUT, L"\r\n"},
                 {2, IDC_EDIT_TIME_OUTPUT, L"\r\n"},
                 {2, IDC_EDIT_INTERVAL_MIN, L"500"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.control);
        ASSERT_EQ(g_pCore, nullptr);
        CGeneratorDlg dlg;
        g_keys = KeyRun();
        g_keys.dlg = &dlg;
        g_keys.page = c.page;
        g_keys.control = c.control;
        SetTimer(nullptr, 0, 0, TypeEnter);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        KillTimer(nullptr, g_keys.giveUp);
        EXPECT_FALSE(g_keys.leftOpen) << "Esc left the window open";
        EXPECT_TRUE(g_keys.openAfterEnter);
        EXPECT_EQ(g_keys.textAfterEnter, c.afterEnter);
        EXPECT_EQ(g_pCore, nullptr);
    }
}
