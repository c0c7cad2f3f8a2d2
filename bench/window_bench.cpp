// The pages as a user meets them, under Wine or on Windows. The strings page: the time from a click
// on Generate for a batch of a million strings to the closing "生成成功！", beside the
// identical-bytes floor of that batch measured in the same run; the 200 ms before the batch are
// the page's own deferral. The numbers page (window_bench numbers [count]): the time from the click
// to "生成成功！" for the longest list a box shows and for a million numbers. What a box shows
// (window_bench box): Wine's edit box filled with lists of many sizes. Export (window_bench
// export [MB]): a batch of about 1 GB saved as GBK and as UTF-8, and the longest the window took to
// answer meanwhile, asked every 20 ms from another thread.
#include "Clock.h"
#include "StringsFloor.h"
#include "core/BoxRules.h"
#include "corelib/Core.h"
#include "framework/BoxFiller.h"
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

// The numbers page with its defaults, from the click to "生成成功！": the longest list a box shows,
// and a million numbers, made on the worker and kept in the system's temporary folder.
int NumbersPage(CWnd& host, long long count)
{
    CNumbersPage page;
    page.Create(IDD_PAGE_NUMBERS, &host);
    ShowWindow(page.m_hWnd, SW_SHOW);
    ShowWindow(host.m_hWnd, SW_SHOW); // the box paints as it fills, as on screen
    int status = 0;
    for (long long n :
         count ? std::vector<long long>{count} : std::vector<long long>{MAX_SHOWN_LINES, 1000000}) {
        SetDlgItemTextW(page.m_hWnd, IDC_EDIT_NUM_COUNT, std::to_wstring(n).c_str());
        const double seconds = ClickAndWait(page.m_hWnd, IDC_BTN_NUM_GENERATE);
        wchar_t shown[64] = {};
        GetDlgItemTextW(page.m_hWnd, IDC_EDIT_NUM_OUTPUT, shown, 64);
        std::printf("| numbers page, defaults, %lld items | %s | click to the closing message "
                    "%.2f s |\n",
                    n, wcsncmp(shown, L"生成完成", 4) == 0 ? "left to Export" : "shown", seconds);
        if (g_boxText != L"生成成功！")
            status = 1;
    }
    DestroyWindow(page.m_hWnd);
    return status;
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

// GBK text of count lines of length characters each, CR LF ended: digits, letters or Chinese
// characters (two bytes each).
enum class Kind { Digits, Letters, Chinese };
std::string Lines(long long count, long long length, Kind kind)
{
    std::string line;
    for (long long i = 0; i < length; ++i) {
        if (kind == Kind::Chinese) {
            line += static_cast<char>(0xB0 + i % 39); // GB2312 level 1
            line += static_cast<char>(0xA1 + i % 94);
        } else {
            line += kind == Kind::Letters ? static_cast<char>('a' + (i * 7) % 26)
                                          : static_cast<char>('0' + i % 10);
        }
    }
    line += "\r\n";
    std::string text;
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

struct FillTimes {
    double atOnce, pieces, longestPiece; // seconds
};

// How long Wine's edit box takes to take text: set at once, and appended a piece at a time as the
// box filler does it (whole lines of about FILL_PIECE_BYTES), with the longest piece.
FillTimes TimedBoxFill(HWND box, const std::string& text)
{
    CWnd wnd(box);
    FillTimes times{};
    wnd.SetWindowText("");
    SendMessageW(box, EM_SETLIMITTEXT, 0, 0);
    Settle(box);
    double t = NowSeconds();
    wnd.SetWindowText(CString(text));
    Settle(box);
    times.atOnce = NowSeconds() - t;
    wnd.SetWindowText("");
    Settle(box);
    t = NowSeconds();
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = at;
        while (end < text.size() && (end == at || end - at < FILL_PIECE_BYTES)) {
            const std::size_t next = text.find('\n', end);
            end = next == std::string::npos ? text.size() : next + 1;
        }
        const double p = NowSeconds();
        AppendToBox(wnd, std::string_view(text).substr(at, end - at));
        Settle(box);
        times.longestPiece = std::max(times.longestPiece, NowSeconds() - p);
        at = end;
    }
    times.pieces = NowSeconds() - t;
    return times;
}

// The figures behind what a box shows (core/BoxRules.h): the box's time by the lines, by the
// bytes, and by the length of a line, for letters, Chinese characters and digits (Wine's edit box
// takes a line of digits in time growing with the square of its length).
int BoxFill(HWND box, int argc, char** argv)
{
    struct Case {
        long long lines, length;
        Kind kind;
    };
    std::vector<Case> cases = {
        {MAX_SHOWN_LINES, 5, Kind::Digits},
        {100000, 39, Kind::Digits},
        {1000, 2000, Kind::Letters},
        {1000, 2000, Kind::Chinese},
        {1000, 2000, Kind::Digits},
        {1000, MAX_SHOWN_LINE_BYTES, Kind::Letters},
        {1000, MAX_SHOWN_LINE_BYTES, Kind::Digits},
        {10, 30000, Kind::Digits},
        {1, 100000, Kind::Digits},
        {1, 100000, Kind::Letters},
    };
    if (argc > 3) // window_bench box <lines> <characters a line> [digits|letters|chinese]
        cases = {{std::atoll(argv[2]), std::atoll(argv[3]),
                  argc > 4 && std::strcmp(argv[4], "letters") == 0   ? Kind::Letters
                  : argc > 4 && std::strcmp(argv[4], "chinese") == 0 ? Kind::Chinese
                                                                     : Kind::Digits}};
    std::printf("| lines | characters a line | kind | MB (GBK) | set at once | in pieces | longest "
                "piece |\n|---|---|---|---|---|---|---|\n");
    for (const Case& c : cases) {
        const std::string text = Lines(c.lines, c.length, c.kind);
        const FillTimes t = TimedBoxFill(box, text);
        std::printf("| %lld | %lld | %s | %.2f | %.2f s | %.2f s | %.0f ms |\n", c.lines, c.length,
                    c.kind == Kind::Digits    ? "digits"
                    : c.kind == Kind::Letters ? "letters"
                                              : "Chinese",
                    static_cast<double>(text.size()) / 1e6, t.atOnce, t.pieces,
                    t.longestPiece * 1000);
    }
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
