// The strings page as a user meets it, under Wine or on Windows: the time from a click on Generate
// for a batch of a million strings to the closing "生成成功！", beside the identical-bytes floor of
// that batch measured in the same run. The 200 ms before the batch are the page's own deferral.
#include "Clock.h"
#include "StringsFloor.h"
#include "corelib/Core.h"
#include "framework/WinApp.h"
#include "pages/StringsPage.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

HHOOK g_hook;
double g_boxAt;
std::wstring g_boxText;

// The closing message box: note when it comes up and answer it.
LRESULT CALLBACK CatchBox(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_ACTIVATE) {
        HWND box = reinterpret_cast<HWND>(wParam);
        wchar_t cls[16] = {};
        GetClassNameW(box, cls, 16);
        if (wcscmp(cls, L"#32770") == 0 && GetDlgItem(box, 0xFFFF)) {
            g_boxAt = NowSeconds();
            wchar_t text[256] = {};
            GetDlgItemTextW(box, 0xFFFF, text, 256);
            g_boxText = text;
            PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        }
    }
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const long long count = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    AfxInitCommonControls();
    g_pCore = new CCore;
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                nullptr, nullptr, nullptr);
    CWnd hostWnd(host);
    CStringsPage page;
    page.Create(IDD_PAGE_STRINGS, &hostWnd);
    ShowWindow(host, SW_SHOW);
    SetDlgItemTextW(page.m_hWnd, IDC_EDIT_STR_COUNT, std::to_wstring(count).c_str());
    g_hook = SetWindowsHookExW(WH_CBT, CatchBox, nullptr, GetCurrentThreadId());

    std::vector<double> clicks, floors;
    for (int r = 0; r < runs; ++r) {
        double t = NowSeconds();
        FloorStrings("zanfor_window_floor.txt", count);
        floors.push_back(NowSeconds() - t);
        g_boxAt = 0;
        t = NowSeconds();
        SendMessageW(page.m_hWnd, WM_COMMAND, MAKEWPARAM(IDC_BTN_STR_GENERATE, BN_CLICKED), 0);
        MSG msg;
        while (g_boxAt == 0 && GetMessageW(&msg, nullptr, 0, 0)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        clicks.push_back(g_boxAt - t);
        if (g_boxText != L"生成成功！") {
            std::fprintf(stderr, "the batch did not succeed\n");
            return 1;
        }
        for (int i = 0; i < 10 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
            DispatchMessageW(&msg);
    }
    std::remove("zanfor_window_floor.txt");
    const double click = Median(clicks), floor = Median(floors);
    std::printf("| click to the closing message, %lld strings | %.3f s | floor %.3f s | "
                "200 ms + 2 x floor = %.3f s |\n",
                count, click, floor, 0.2 + 2 * floor);
    UnhookWindowsHookEx(g_hook);
    DestroyWindow(page.m_hWnd);
    DestroyWindow(host);
    delete g_pCore;
    g_pCore = nullptr;
    return click <= 0.2 + 2 * floor ? 0 : 2;
}
