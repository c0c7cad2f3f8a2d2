// F1 and the Help command open the user guide at the section of the page in front.
#include "Harness.h"
#include "app/GeneratorDlg.h"
#include "app/GuideDlg.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kCaption[] = L"Zanfor 使用说明";

// What the guide window showed when it came up.
struct GuideSeen {
    int opened = 0;
    std::wstring selected; // the section selected in the list
    std::wstring topLine;  // the first line the text shows
};

// Set when Esc left the guide open, and it had to be closed otherwise.
bool g_escIgnored = false;

void CALLBACK CloseGuideLeftOpen(HWND guide, UINT, UINT_PTR id, DWORD)
{
    KillTimer(guide, id);
    g_escIgnored = true;
    PostMessageW(guide, WM_COMMAND, IDCANCEL, 0);
}

std::wstring ListSelection(HWND guide)
{
    HWND list = GetDlgItem(guide, IDC_LIST_GUIDE_SECTIONS);
    const LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (index < 0)
        return L"<none>";
    std::wstring text(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, index, 0)), L'\0');
    SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    return text;
}

std::wstring TopLine(HWND guide)
{
    HWND text = GetDlgItem(guide, IDC_EDIT_GUIDE_TEXT);
    const LRESULT first = SendMessageW(text, EM_GETFIRSTVISIBLELINE, 0, 0);
    wchar_t line[256] = {};
    line[0] = 255; // EM_GETLINE reads the buffer's size from its first word
    const LRESULT n = SendMessageW(text, EM_GETLINE, first, reinterpret_cast<LPARAM>(line));
    return std::wstring(line, static_cast<std::size_t>(n));
}

class UserGuide : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dlg.Create(IDD_GENERATOR_DIALOG, nullptr));
        hwnd = dlg.m_hWnd;
        catcher.ignored.insert(hwnd);
        ShowWindow(hwnd, SW_SHOW);
        SetActiveWindow(hwnd);
        // The guide window is read as it comes up, then closed with Esc as a user would.
        catcher.onBox = [this](const CaughtBox& box) {
            if (box.caption != kCaption)
                return IDOK;
            ++seen.opened;
            seen.selected = ListSelection(box.hwnd);
            seen.topLine = TopLine(box.hwnd);
            guide = box.hwnd;
            PostMessageW(GetDlgItem(box.hwnd, IDC_LIST_GUIDE_SECTIONS), WM_KEYDOWN, VK_ESCAPE,
                         0x00010001);
            SetTimer(box.hwnd, 1, 10000, CloseGuideLeftOpen);
            return 0;
        };
    }
    void TearDown() override
    {
        if (dlg.m_hWnd)
            DestroyWindow(dlg.m_hWnd);
    }
    void SelectTab(int index)
    {
        HWND tab = GetDlgItem(hwnd, IDC_TAB_PAGES);
        SendMessageW(tab, TCM_SETCURSEL, index, 0);
        NMHDR hdr{tab, IDC_TAB_PAGES, static_cast<UINT>(TCN_SELCHANGE)};
        SendMessageW(hwnd, WM_NOTIFY, IDC_TAB_PAGES, reinterpret_cast<LPARAM>(&hdr));
    }
    // F1 typed on the keyboard while control has the focus (the system makes WM_HELP only of
    // keyboard input, not of a posted key message); true once the guide has come and gone.
    bool PressF1On(HWND control)
    {
        seen = GuideSeen{};
        guide = nullptr;
        g_escIgnored = false;
        SetForegroundWindow(hwnd);
        SetFocus(control);
        if (GetFocus() != control)
            return false;
        INPUT keys[2] = {};
        for (INPUT& key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = VK_F1;
        }
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        if (SendInput(2, keys, sizeof(INPUT)) != 2)
            return false;
        return PumpUntil([&] { return seen.opened > 0 && !IsWindow(guide); });
    }

    BoxCatcher catcher;
    CGeneratorDlg dlg;
    HWND hwnd = nullptr;
    HWND guide = nullptr;
    GuideSeen seen;
};

} // namespace

TEST_F(UserGuide, F1OnEachPageOpensTheGuideAtThatPagesSection)
{
    struct Case {
        int tab;
        HWND control;
        const wchar_t* section;
    };
    const Case cases[] = {
        {0, GetDlgItem(dlg.m_pageStrings.m_hWnd, IDC_EDIT_INSERT), L"字符串页"},
        {1, GetDlgItem(dlg.m_pageNumbers.m_hWnd, IDC_EDIT_NUM_OUTPUT), L"数字页"},
        {2, GetDlgItem(dlg.m_pageInterval.m_hWnd, IDC_CHECK_RUN_PROGRAM), L"时间页"},
        // The main window's own controls: the page in front decides.
        {1, GetDlgItem(hwnd, IDC_TAB_PAGES), L"数字页"},
        {2, GetDlgItem(hwnd, IDC_BTN_ABOUT), L"时间页"},
    };
    for (const Case& c : cases) {
        SelectTab(c.tab);
        ASSERT_TRUE(PressF1On(c.control)) << "tab " << c.tab;
        EXPECT_EQ(seen.opened, 1);
        EXPECT_EQ(seen.selected, c.section);
        EXPECT_EQ(seen.topLine, std::wstring(L"【") + c.section + L"】");
        EXPECT_FALSE(g_escIgnored) << "Esc closes the guide";
    }
    EXPECT_EQ(catcher.boxes.size(), std::size(cases)) << "no other box came up";
}

TEST_F(UserGuide, TheHelpCommandOpensItAndTheListMovesTheText)
{
    SelectTab(1);
    // Another section picked in the list comes to the top of the text.
    catcher.onBox = [this](const CaughtBox& box) {
        seen.selected = ListSelection(box.hwnd);
        HWND list = GetDlgItem(box.hwnd, IDC_LIST_GUIDE_SECTIONS);
        const LRESULT stop =
            SendMessageW(list, LB_FINDSTRINGEXACT, -1, reinterpret_cast<LPARAM>(L"停止"));
        SendMessageW(list, LB_SETCURSEL, stop, 0);
        SendMessageW(box.hwnd, WM_COMMAND, MAKEWPARAM(IDC_LIST_GUIDE_SECTIONS, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        seen.topLine = TopLine(box.hwnd);
        return IDCANCEL;
    };
    SendMessageW(hwnd, WM_COMMAND, ID_HELP, 0); // returns once the guide is closed
    ASSERT_EQ(catcher.boxes.size(), 1u);
    EXPECT_EQ(catcher.boxes[0].caption, kCaption);
    EXPECT_EQ(seen.selected, L"数字页");
    EXPECT_EQ(seen.topLine, L"【停止】");
}

TEST_F(UserGuide, AGuideThatCannotBeReadIsSaidSo)
{
    // A module without the guide among its resources.
    ShowUserGuide(hwnd, "字符串页", GetModuleHandleW(L"kernel32.dll"));
    ASSERT_EQ(catcher.boxes.size(), 1u);
    EXPECT_TRUE(catcher.boxes[0].isMessageBox);
    EXPECT_EQ(catcher.boxes[0].text, L"无法打开使用说明：程序里的使用说明缺失或已损坏。");
}

namespace {
// The keyboard in the guide window, one key a step, each step once the last key is handled.
struct KeySteps {
    HWND guide = nullptr;
    int step = 0;
    std::wstring selected, topLine;
    bool textFocused = false, nothingSelected = false, leftOpen = false;
} g_keys;

void Press(WORD vk)
{
    INPUT keys[2] = {};
    for (INPUT& key : keys) {
        key.type = INPUT_KEYBOARD;
        key.ki.wVk = vk;
    }
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

void CALLBACK NextKey(HWND guide, UINT, UINT_PTR, DWORD)
{
    HWND text = GetDlgItem(guide, IDC_EDIT_GUIDE_TEXT);
    switch (g_keys.step++) {
    case 0:
        Press(VK_DOWN); // the next section in the list
        break;
    case 1:
        g_keys.selected = ListSelection(guide);
        g_keys.topLine = TopLine(guide);
        Press(VK_TAB); // into the text
        break;
    case 2: {
        DWORD from = 0, to = 0;
        SendMessageW(text, EM_GETSEL, reinterpret_cast<WPARAM>(&from),
                     reinterpret_cast<LPARAM>(&to));
        g_keys.textFocused = GetFocus() == text;
        g_keys.nothingSelected = from == to;
        Press(VK_RETURN); // closes
        break;
    }
    default:
        KillTimer(guide, 1);
        g_keys.leftOpen = true;
        PostMessageW(guide, WM_COMMAND, IDCANCEL, 0);
        break;
    }
}
} // namespace

TEST_F(UserGuide, TheKeyboardMovesThroughItAndEnterClosesIt)
{
    g_keys = KeySteps{};
    catcher.onBox = [](const CaughtBox& box) {
        g_keys.guide = box.hwnd;
        SetTimer(box.hwnd, 1, 300, NextKey);
        return 0;
    };
    SetForegroundWindow(hwnd);
    SendMessageW(hwnd, WM_COMMAND, ID_HELP, 0); // on the strings page; returns once closed
    ASSERT_NE(g_keys.guide, nullptr);
    EXPECT_EQ(g_keys.selected, L"　　设置"); // the strings page's first subsection
    EXPECT_EQ(g_keys.topLine, L"■ 设置");
    EXPECT_TRUE(g_keys.textFocused);
    EXPECT_TRUE(g_keys.nothingSelected) << "Tab into the text selects none of it";
    EXPECT_FALSE(g_keys.leftOpen) << "Enter closes the guide";
}
