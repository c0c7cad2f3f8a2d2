// Drives a running Zanfor from outside by control identifiers, for scripts/screenshots.sh: no
// screen coordinates, so the same script works at every display scale. Commands run in order;
// every wait has a deadline, and the first failure ends the driver with exit code 1.
//
//   center                move the main window to the middle of the screen, where Wine puts
//                         message boxes
//   tab N                 select tab N, as a click on its header does
//   set ID TEXT           set the text of a control
//   check ID 0|1          set a check box and report the click
//   click ID              click a button (posted: it may open a modal box)
//   wait-text ID PREFIX   wait until the control's text starts with PREFIX and goes on (a digit
//                         after "... " when PREFIX ends in a blank)
//   wait-box PREFIX       wait for a message box whose text starts with PREFIX
//   wait-dialog CAPTION   wait for another dialog with that caption (the About box)
//   ok                    answer the open box or dialog with OK
//   f1                    press F1 on the keyboard, the main window in front
//
// ID is a name from res/resource.h. A control is looked up in the main window, then in the page
// shown: 1007 and 1008 name different controls on two pages.
#include "res/resource.h"

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <cwctype>
#include <string>

namespace {

struct Named {
    const wchar_t* name;
    int id;
};
#define NAMED(id)                                                                                  \
    {                                                                                              \
        L## #id, id                                                                                \
    }
const Named kIds[] = {
    NAMED(IDC_TAB_PAGES),        NAMED(IDC_BTN_ABOUT),         NAMED(IDC_CHECK_UPPER),
    NAMED(IDC_CHECK_LOWER),      NAMED(IDC_CHECK_DIGIT),       NAMED(IDC_CHECK_HANZI),
    NAMED(IDC_EDIT_HEAD),        NAMED(IDC_EDIT_TAIL),         NAMED(IDC_EDIT_INSERT),
    NAMED(IDC_EDIT_LEN_MIN),     NAMED(IDC_EDIT_LEN_MAX),      NAMED(IDC_EDIT_STR_COUNT),
    NAMED(IDC_EDIT_STR_OUTPUT),  NAMED(IDC_BTN_STR_GENERATE),  NAMED(IDC_BTN_STR_EXPORT),
    NAMED(IDC_CHECK_INTEGER),    NAMED(IDC_CHECK_FLOAT),       NAMED(IDC_EDIT_NUM_MIN),
    NAMED(IDC_EDIT_NUM_MAX),     NAMED(IDC_EDIT_NUM_COUNT),    NAMED(IDC_EDIT_DECIMALS),
    NAMED(IDC_BTN_NUM_GENERATE), NAMED(IDC_EDIT_NUM_OUTPUT),   NAMED(IDC_CHECK_RUN_PROGRAM),
    NAMED(IDC_EDIT_PROGRAM),     NAMED(IDC_EDIT_INTERVAL_MIN), NAMED(IDC_EDIT_INTERVAL_MAX),
    NAMED(IDC_EDIT_TIME_COUNT),  NAMED(IDC_EDIT_TIME_OUTPUT),  NAMED(IDC_BTN_TIME_GENERATE),
};
#undef NAMED

constexpr DWORD TIMEOUT_MS = 20000;

// In UTF-8: the script's terminal reads the bytes as they are.
[[noreturn]] void Fail(const std::wstring& what)
{
    const std::wstring line = L"window_driver: " + what + L"\n";
    std::string bytes(line.size() * 3, '\0');
    bytes.resize(static_cast<std::size_t>(
        ::WideCharToMultiByte(CP_UTF8, 0, line.data(), static_cast<int>(line.size()), bytes.data(),
                              static_cast<int>(bytes.size()), nullptr, nullptr)));
    std::fputs(bytes.c_str(), stderr);
    std::exit(1);
}

std::wstring ClassOf(HWND hwnd)
{
    wchar_t cls[64] = {};
    ::GetClassNameW(hwnd, cls, 64);
    return cls;
}

// Asked of the control itself: GetWindowText on another process's edit box reads only what the
// window manager keeps, not the box's own text.
std::wstring TextOf(HWND hwnd)
{
    std::wstring text(static_cast<std::size_t>(::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0)) + 1,
                      L'\0');
    text.resize(static_cast<std::size_t>(
        ::SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()))));
    return text;
}

// Polls find until it returns a window, or fails after the deadline.
template <class Find> HWND WaitFor(const std::wstring& what, Find find)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HWND found = find())
            return found;
        if (::GetTickCount() - start > TIMEOUT_MS)
            Fail(L"timed out waiting for " + what);
        ::Sleep(20);
    }
}

// The visible top-level dialogs of the program: its main window, and a box or dialog over it.
struct Windows {
    HWND main = nullptr;
    HWND other = nullptr;
    DWORD pid = 0;
};

BOOL CALLBACK Collect(HWND hwnd, LPARAM lParam)
{
    auto* w = reinterpret_cast<Windows*>(lParam);
    if (ClassOf(hwnd) != L"#32770" || !::IsWindowVisible(hwnd))
        return TRUE;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (TextOf(hwnd) == L"Zanfor " && !w->main) {
        w->main = hwnd;
        w->pid = pid;
    } else if (!w->other) {
        w->other = hwnd;
    }
    return TRUE;
}

Windows Current()
{
    Windows w;
    ::EnumWindows(Collect, reinterpret_cast<LPARAM>(&w));
    return w;
}

HWND MainWindow()
{
    return WaitFor(L"the main window", [] { return Current().main; });
}

HWND ShownPage(HWND main)
{
    HWND tab = ::GetDlgItem(main, IDC_TAB_PAGES);
    for (HWND page = ::GetWindow(tab, GW_CHILD); page; page = ::GetWindow(page, GW_HWNDNEXT))
        if (::IsWindowVisible(page))
            return page;
    return nullptr;
}

HWND Control(const std::wstring& name)
{
    for (const Named& n : kIds) {
        if (name != n.name)
            continue;
        HWND main = MainWindow();
        if (HWND c = ::GetDlgItem(main, n.id))
            return c;
        if (HWND page = ShownPage(main))
            if (HWND c = ::GetDlgItem(page, n.id))
                return c;
        Fail(name + L" is not in the main window or the page shown");
    }
    Fail(L"unknown control " + name);
}

bool StartsAndGoesOn(const std::wstring& text, const std::wstring& prefix)
{
    if (text.compare(0, prefix.size(), prefix) != 0)
        return false;
    if (prefix.empty() || prefix.back() != L' ')
        return true;
    return text.size() > prefix.size() && std::iswdigit(text[prefix.size()]);
}

void Run(const std::wstring& command, wchar_t**& arg, wchar_t** end)
{
    auto next = [&]() -> std::wstring {
        if (arg == end)
            Fail(command + L": an argument is missing");
        return *arg++;
    };
    if (command == L"center") {
        HWND main = MainWindow();
        RECT r;
        ::GetWindowRect(main, &r);
        const int x = (::GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2;
        const int y = (::GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2;
        // Wine can lose a move made while the window's first placement is still on its way:
        // move until the window has stayed where it belongs for a while.
        int stayed = 0;
        WaitFor(L"the window to stay in the middle", [&]() -> HWND {
            ::GetWindowRect(main, &r);
            if (r.left == x && r.top == y)
                return ++stayed == 10 ? main : nullptr;
            stayed = 0;
            ::SetWindowPos(main, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            ::Sleep(200);
            return nullptr;
        });
    } else if (command == L"tab") {
        HWND tab = Control(L"IDC_TAB_PAGES");
        const int index = std::stoi(next());
        // Without TCS_BUTTONS, moving the focus selects the tab and tells the window, as a click.
        ::SendMessageW(tab, TCM_SETCURFOCUS, index, 0);
        WaitFor(L"tab " + std::to_wstring(index),
                [&] { return ::SendMessageW(tab, TCM_GETCURSEL, 0, 0) == index ? tab : nullptr; });
    } else if (command == L"set") {
        HWND c = Control(next());
        const std::wstring text = next();
        ::SendMessageW(c, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    } else if (command == L"check" || command == L"click") {
        HWND c = Control(next());
        if (command == L"check")
            ::SendMessageW(c, BM_SETCHECK, std::stoi(next()) ? BST_CHECKED : BST_UNCHECKED, 0);
        const int id = ::GetDlgCtrlID(c);
        ::PostMessageW(::GetParent(c), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                       reinterpret_cast<LPARAM>(c));
    } else if (command == L"wait-text") {
        HWND c = Control(next());
        const std::wstring prefix = next();
        WaitFor(L"the text " + prefix,
                [&] { return StartsAndGoesOn(TextOf(c), prefix) ? c : nullptr; });
    } else if (command == L"wait-box") {
        const std::wstring prefix = next();
        WaitFor(L"a message box " + prefix, [&] {
            HWND box = Current().other;
            HWND message = box ? ::GetDlgItem(box, 0xFFFF) : nullptr;
            return message && StartsAndGoesOn(TextOf(message), prefix) ? box : nullptr;
        });
    } else if (command == L"wait-dialog") {
        const std::wstring caption = next();
        WaitFor(L"the dialog " + caption, [&] {
            HWND dialog = Current().other;
            return dialog && TextOf(dialog) == caption ? dialog : nullptr;
        });
    } else if (command == L"f1") {
        ::SetForegroundWindow(MainWindow());
        INPUT keys[2] = {};
        for (INPUT& key : keys) {
            key.type = INPUT_KEYBOARD;
            key.ki.wVk = VK_F1;
        }
        keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
        if (::SendInput(2, keys, sizeof(INPUT)) != 2)
            Fail(L"F1 could not be pressed");
    } else if (command == L"ok") {
        HWND box = WaitFor(L"a box to answer", [] { return Current().other; });
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        WaitFor(L"the box to close", [&] { return ::IsWindow(box) ? nullptr : box; });
    } else {
        Fail(L"unknown command " + command);
    }
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    // Screen pixels, as the program (aware by its manifest) has them: no coordinates scaled
    // between the two.
    ::SetProcessDPIAware();
    wchar_t** arg = argv + 1;
    wchar_t** end = argv + argc;
    while (arg != end) {
        const std::wstring command = *arg++;
        Run(command, arg, end);
    }
    return 0;
}
