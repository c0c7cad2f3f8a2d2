// The pages as a user meets them, under Wine or on Windows. The strings page: the time from a click
// on Generate for a batch of a million strings to the closing "生成成功！", beside the
// identical-bytes floor of that batch measured in the same run; the 200 ms before the batch are
// the page's own deferral. The numbers page (window_bench numbers): the longest list it accepts
// with its defaults, and the time from the click to "生成成功！" for it. Export (window_bench
// export [MB]): a batch of about 1 GB saved as GBK and as UTF-8, and the longest the window took to
// answer meanwhile, asked every 20 ms from another thread.
#include "Clock.h"
#include "StringsFloor.h"
#include "corelib/Core.h"
#include "framework/WinApp.h"
#include "pages/NumbersPage.h"
#include "pages/StringsPage.h"
#include "platform/TextConversion.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <thread>
#include <cstring>
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

// Clicks Generate on page and waits for the closing message; the seconds it took.
double ClickAndWait(HWND page, int generate)
{
    g_boxAt = 0;
    const double t = NowSeconds();
    SendMessageW(page, WM_COMMAND, MAKEWPARAM(generate, BN_CLICKED), 0);
    MSG msg;
    while (g_boxAt == 0 && GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return g_boxAt - t;
}

// The numbers page's longest accepted list with its defaults, found by bisection on its own
// check, and the time to fill it.
int NumbersPage(CWnd& host, long long count)
{
    CNumbersPage page;
    page.Create(IDD_PAGE_NUMBERS, &host);
    ShowWindow(page.m_hWnd, SW_SHOW);
    ShowWindow(host.m_hWnd, SW_SHOW); // the box paints as it fills, as on screen
    long long accepted = count, refused = count + 1;
    if (count == 0)
        refused = 1LL << 31;
    while (refused - accepted > 1) {
        const long long mid = accepted + (refused - accepted) / 2;
        SetDlgItemTextW(page.m_hWnd, IDC_EDIT_NUM_COUNT, std::to_wstring(mid).c_str());
        g_boxText.clear();
        (page.CheckInput() ? accepted : refused) = mid;
    }
    SetDlgItemTextW(page.m_hWnd, IDC_EDIT_NUM_COUNT, std::to_wstring(accepted).c_str());
    const double seconds = ClickAndWait(page.m_hWnd, IDC_BTN_NUM_GENERATE);
    const bool ok = g_boxText == L"生成成功！";
    std::printf(
        "| numbers page, defaults, %s | %lld items | click to the closing message %.1f s |\n",
        count ? "the list given" : "the longest list accepted", accepted, seconds);
    DestroyWindow(page.m_hWnd);
    return ok ? 0 : 1;
}

// Exports the strings page's batch to path; the seconds it took and the longest answer of the
// window meanwhile, in seconds.
std::pair<double, double> TimedExport(CStringsPage& page, const std::wstring& path,
                                      ExportEncoding encoding)
{
    std::atomic<bool> done{false}, asking{true};
    std::atomic<double> longest{0};
    std::thread asker([&] {
        for (; !done; asking = !done) {
            const double t = NowSeconds();
            DWORD_PTR answer;
            SendMessageTimeoutW(page.m_hWnd, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &answer);
            longest = std::max(longest.load(), NowSeconds() - t);
            Sleep(20);
        }
    });
    g_boxAt = 0;
    const double t = NowSeconds();
    page.ExportTo(path, encoding);
    MSG msg;
    while (g_boxAt == 0 && GetMessageW(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    done = true;
    while (asking) { // its last question is answered here
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        else
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    asker.join();
    return {g_boxAt - t, longest.load()};
}

// A batch of about megabytes MB, exported as GBK and as UTF-8.
int ExportBatch(CStringsPage& page, long long megabytes)
{
    // The defaults make 8.5 bytes a string, line end included.
    const long long count = megabytes * 1000000 * 2 / 17;
    SetDlgItemTextW(page.m_hWnd, IDC_EDIT_STR_COUNT, std::to_wstring(count).c_str());
    ClickAndWait(page.m_hWnd, IDC_BTN_STR_GENERATE);
    if (g_boxText != L"生成成功！")
        return 1;
    WIN32_FILE_ATTRIBUTE_DATA file{};
    GetFileAttributesExW(WideFromGbk(page.m_strOutFile.View()).c_str(), GetFileExInfoStandard,
                         &file);
    const double bytes = static_cast<double>(file.nFileSizeHigh) * 4294967296.0 + file.nFileSizeLow;
    const std::wstring path = L"zanfor_window_export.txt";
    for (const ExportEncoding encoding : {ExportEncoding::Gbk, ExportEncoding::Utf8}) {
        const auto [seconds, answer] = TimedExport(page, path, encoding);
        if (g_boxText != L"导出成功！")
            return 1;
        std::printf(
            "| export of %lld strings (%.0f MB) as %s | %.1f s | the window answered within "
            "%.0f ms throughout |\n",
            count, bytes / 1e6, encoding == ExportEncoding::Gbk ? "GBK" : "UTF-8", seconds,
            answer * 1000);
    }
    DeleteFileW(path.c_str());
    return 0;
}

// Lines of length characters each (count of them), CR LF ended: digits, or Chinese characters.
std::wstring Lines(long long count, long long length, int kind)
{
    std::wstring line;
    for (long long i = 0; i < length; ++i)
        line += kind == 1   ? static_cast<wchar_t>(0x4E00 + i % 3000)
                : kind == 2 ? static_cast<wchar_t>(L'a' + (i * 7) % 26)
                            : static_cast<wchar_t>(L'0' + i % 10);
    line += L"\r\n";
    std::wstring text;
    text.reserve(line.size() * static_cast<std::size_t>(count));
    for (long long i = 0; i < count; ++i)
        text += line;
    return text;
}

// Lets the box paint what it was given, as a user would see it.
void Settle(HWND box)
{
    UpdateWindow(box);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

// The seconds Wine's edit box takes to take text: set at once, and appended a piece of about
// pieceChars characters (whole lines) at a time.
std::pair<double, double> TimedBoxFill(HWND box, const std::wstring& text, std::size_t pieceChars)
{
    SetWindowTextW(box, L"");
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
    Settle(box);
    double t = NowSeconds();
    SetWindowTextW(box, text.c_str());
    Settle(box);
    const double atOnce = NowSeconds() - t;
    SetWindowTextW(box, L"");
    Settle(box);
    t = NowSeconds();
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = std::min(text.size(), at + pieceChars);
        const std::size_t lineEnd = text.find(L'\n', end == 0 ? 0 : end - 1);
        end = lineEnd == std::wstring::npos ? text.size() : lineEnd + 1;
        const std::wstring piece = text.substr(at, end - at);
        const LRESULT length = GetWindowTextLengthW(box);
        SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(length), length);
        SendMessageW(box, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
        Settle(box);
        at = end;
    }
    return {atOnce, NowSeconds() - t};
}

int BoxFill(HWND box, int argc, char** argv)
{
    // window_bench box <lines> <chars a line> [chinese] [piece chars]
    const long long lines = argc > 2 ? std::atoll(argv[2]) : 1000;
    const long long length = argc > 3 ? std::atoll(argv[3]) : 2000;
    const int kind = argc > 4 ? std::atoi(argv[4]) : 0;
    const bool chinese = kind == 1;
    const std::size_t piece = argc > 5 ? static_cast<std::size_t>(std::atoll(argv[5])) : 65536;
    const std::wstring text = Lines(lines, length, kind);
    const auto [atOnce, pieces] = TimedBoxFill(box, text, piece);
    std::printf("| %lld lines of %lld %s | %.2f MB GBK | at once %.3f s | in pieces of %zu "
                "characters %.3f s |\n",
                lines, length,
                chinese     ? "Chinese characters"
                : kind == 2 ? "letters"
                            : "digits",
                static_cast<double>(lines * (length * (chinese ? 2 : 1) + 2)) / 1e6, atOnce, piece,
                pieces);
    return 0;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    AfxInitCommonControls();
    g_pCore = new CCore;
    HWND host = CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr,
                                nullptr, nullptr, nullptr);
    CWnd hostWnd(host);
    g_hook = SetWindowsHookExW(WH_CBT, CatchBox, nullptr, GetCurrentThreadId());
    if (argc > 1 && std::strcmp(argv[1], "numbers") == 0)
        return NumbersPage(hostWnd, argc > 2 ? std::atoll(argv[2]) : 0);
    CStringsPage page;
    page.Create(IDD_PAGE_STRINGS, &hostWnd);
    ShowWindow(host, SW_SHOW);
    if (argc > 1 && std::strcmp(argv[1], "box") == 0)
        return BoxFill(GetDlgItem(page.m_hWnd, IDC_EDIT_STR_OUTPUT), argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "export") == 0)
        return ExportBatch(page, argc > 2 ? std::atoll(argv[2]) : 1000);
    const long long count = argc > 1 ? std::atoll(argv[1]) : 1000000;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;
    SetDlgItemTextW(page.m_hWnd, IDC_EDIT_STR_COUNT, std::to_wstring(count).c_str());

    std::vector<double> clicks, floors;
    for (int r = 0; r < runs; ++r) {
        double t = NowSeconds();
        FloorStrings("zanfor_window_floor.txt", count);
        floors.push_back(NowSeconds() - t);
        clicks.push_back(ClickAndWait(page.m_hWnd, IDC_BTN_STR_GENERATE));
        if (g_boxText != L"生成成功！") {
            std::fprintf(stderr, "the batch did not succeed\n");
            return 1;
        }
        MSG msg;
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
