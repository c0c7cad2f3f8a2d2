// Stopping a long run on each page: Generate turns into Stop after half a second, a stopped run is
// never called a success, it says how much was made, and what is kept is exactly that much. The
// half second passes on the page's clock, moved on by the test.
#include "PageFixture.h"
#include "pages/IntervalPage.h"
#include "pages/NumbersPage.h"
#include "pages/StringsPage.h"

#include <functional>
#include <regex>

namespace {

// Clicks Generate, ages the run past half a second, waits for Stop and for ready, clicks it and
// waits for the closing message; returns the number the message says was made, after checking the
// message reads as a stop of total.
long long RunAndStop(HWND page, FakeClock& clock, BoxCatcher& catcher, int generate,
                     const std::wstring& made, const std::wstring& unit, long long total,
                     const std::function<bool()>& ready)
{
    Click(page, generate);
    EXPECT_NE(GetText(page, generate), L"停止");
    clock.Advance(LONG_RUN_MS);
    EXPECT_TRUE(PumpUntil([&] { return GetText(page, generate) == L"停止" && ready(); }, 10000))
        << "no Stop within 10 s";
    EXPECT_TRUE(IsEnabled(page, generate));
    Click(page, generate);
    EXPECT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }, 20000));
    if (catcher.boxes.empty())
        return -1;
    const std::wstring message = catcher.boxes.back().text;
    const std::wregex form(L"生成已停止：" + made + L" (\\d+) " + unit + L"，共 " +
                           std::to_wstring(total) + L" " + unit + L"。");
    std::wsmatch m;
    EXPECT_TRUE(std::regex_match(message, m, form)) << std::string(message.begin(), message.end());
    PumpFor(20);
    EXPECT_EQ(GetText(page, generate), L"生成");
    EXPECT_TRUE(IsEnabled(page, generate));
    return m.size() > 1 ? std::stoll(m[1].str()) : -1;
}

using StopStrings = ClockedPageFixture<CStringsPage>;
using StopNumbers = ClockedPageFixture<CNumbersPage>;
using StopInterval = ClockedPageFixture<CIntervalPage>;

} // namespace

TEST_F(StopStrings, AStoppedBatchKeepsWholeRecordsAndSaysHowMany)
{
    SetText(hwnd, IDC_EDIT_STR_COUNT, L"2147483647");
    const std::wstring file = Widen(page->m_strOutFile.Str());
    const long long made =
        RunAndStop(hwnd, clock, catcher, IDC_BTN_STR_GENERATE, L"已生成", L"个", 2147483647, [&] {
            WIN32_FILE_ATTRIBUTE_DATA data{}; // records have reached the file
            return GetFileAttributesExW(file.c_str(), GetFileExInfoStandard, &data) &&
                   (data.nFileSizeHigh > 0 || data.nFileSizeLow > 0);
        });
    ASSERT_GT(made, 0);
    EXPECT_LT(made, 2147483647);
    const auto lines = SplitLines(Widen(ReadFileBytes(Widen(page->m_strOutFile.Str()))));
    EXPECT_EQ(static_cast<long long>(lines.size()), made);
    for (const std::wstring& line : lines)
        ASSERT_TRUE(line.size() >= 5 && line.size() <= 8) << "a cut record";
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT), L"生成已停止，已生成的部分请单击导出按钮。");
}

TEST_F(StopNumbers, AStoppedListKeepsTheLinesShown)
{
    // Near the longest list the page takes: filled a piece at a time over many seconds.
    SetText(hwnd, IDC_EDIT_NUM_COUNT, L"700000");
    const long long made =
        RunAndStop(hwnd, clock, catcher, IDC_BTN_NUM_GENERATE, L"已生成", L"个", 700000,
                   [&] { return !GetText(hwnd, IDC_EDIT_NUM_OUTPUT).empty(); });
    ASSERT_GT(made, 0);
    EXPECT_LT(made, 700000);
    EXPECT_EQ(static_cast<long long>(SplitLines(GetText(hwnd, IDC_EDIT_NUM_OUTPUT)).size()), made);
}

TEST_F(StopInterval, AStoppedSeriesEndsAtOnce)
{
    SetText(hwnd, IDC_EDIT_INTERVAL_MIN, L"200");
    SetText(hwnd, IDC_EDIT_INTERVAL_MAX, L"200");
    const long long made =
        RunAndStop(hwnd, clock, catcher, IDC_BTN_TIME_GENERATE, L"已发生", L"次", 10,
                   [&] { return !GetText(hwnd, IDC_EDIT_TIME_OUTPUT).empty(); });
    ASSERT_GE(made, 1);
    EXPECT_LT(made, 10);
    PumpFor(500); // no event after the stop
    EXPECT_EQ(static_cast<long long>(SplitLines(GetText(hwnd, IDC_EDIT_TIME_OUTPUT)).size()), made);
    EXPECT_EQ(catcher.boxes.size(), 1u);
}
