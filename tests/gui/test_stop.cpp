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

// A count as a message gives it: "3,334,144".
const std::wstring kCount = L"(\\d{1,3}(?:,\\d{3})*)";

long long CountIn(std::wstring digits)
{
    std::erase(digits, L',');
    return std::stoll(digits);
}

// Clicks Generate, ages the run past half a second, waits for Stop and for ready, clicks it and
// waits for the closing message; returns the count the message says was made, after checking the
// message reads as a stop of total (given as the message spells it).
long long RunAndStop(HWND page, FakeClock& clock, BoxCatcher& catcher, int generate,
                     const std::wstring& made, const std::wstring& unit, const std::wstring& total,
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
    const std::wregex form(L"生成已停止：" + made + L" " + kCount + L" " + unit + L"，共 " + total +
                           L" " + unit + L"。");
    std::wsmatch m;
    EXPECT_TRUE(std::regex_match(message, m, form)) << std::string(message.begin(), message.end());
    PumpFor(20);
    EXPECT_EQ(GetText(page, generate), L"生成");
    EXPECT_TRUE(IsEnabled(page, generate));
    return m.size() > 1 ? CountIn(m[1].str()) : -1;
}

std::size_t LinesOf(const std::string& bytes)
{
    std::size_t lines = 0;
    for (std::size_t at = bytes.find("\r\n"); at != std::string::npos;
         at = bytes.find("\r\n", at + 2))
        ++lines;
    return lines;
}

std::wstring TempFolder()
{
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    return folder;
}

using StopStrings = ClockedPageFixture<CStringsPage>;
using StopNumbers = ClockedPageFixture<CNumbersPage>;
using StopInterval = ClockedPageFixture<CIntervalPage>;

} // namespace

TEST_F(StopStrings, AStoppedBatchKeepsWholeRecordsAndSaysHowMany)
{
    SetText(hwnd, IDC_EDIT_STR_COUNT, L"2147483647");
    const std::wstring file = Widen(page->m_strOutFile.Str());
    const long long made = RunAndStop(
        hwnd, clock, catcher, IDC_BTN_STR_GENERATE, L"已生成", L"个", L"2,147,483,647", [&] {
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

// Stopped while made: the numbers made so far, past what a box shows, are kept in the system's
// temporary folder, and Export saves exactly them.
TEST_F(StopNumbers, AStoppedBatchKeepsWhatWasMadeForExport)
{
    const std::wstring temp = TempFolder();
    const std::size_t held = FilesIn(temp, L"zan*.tmp").size();
    SetText(hwnd, IDC_EDIT_NUM_COUNT, L"2147483647");
    const long long made =
        RunAndStop(hwnd, clock, catcher, IDC_BTN_NUM_GENERATE, L"已生成", L"个", L"2,147,483,647",
                   [&] { return FilesIn(temp, L"zan*.tmp").size() > held; }); // past the box
    ASSERT_GT(made, MAX_SHOWN_LINES);
    EXPECT_LT(made, 2147483647);
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_OUTPUT), L"生成已停止，已生成的部分请单击导出按钮。");
    const std::wstring target =
        ExeFolder() + L"stopped_numbers." + std::to_wstring(GetCurrentProcessId()) + L".txt";
    EXPECT_EQ(ExportAs(hwnd, catcher, IDC_BTN_NUM_EXPORT, L"数字.txt", target), L"导出成功！");
    EXPECT_EQ(static_cast<long long>(LinesOf(ReadFileBytes(target))), made);
    DeleteFileW(target.c_str());
    page.reset();
    EXPECT_EQ(FilesIn(temp, L"zan*.tmp").size(), held);
}

// Stopped while a whole list fills the box: the lines shown stay, the words say the showing
// stopped, and Export saves the whole list. The progress tick and the Stop come between two pieces
// of the fill, whatever this machine's speed.
TEST_F(StopNumbers, AStopWhileTheListFillsStopsOnlyItsShowing)
{
    TextRecorder box(GetDlgItem(hwnd, IDC_EDIT_NUM_OUTPUT));
    SetText(hwnd, IDC_EDIT_NUM_COUNT, std::to_wstring(MAX_SHOWN_LINES));
    Click(hwnd, IDC_BTN_NUM_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return !box.texts.empty() && !box.texts.back().empty(); }));
    clock.Advance(LONG_RUN_MS);
    SendMessageW(hwnd, WM_TIMER, PROGRESS_TIMER_ID, 0);
    ASSERT_EQ(GetText(hwnd, IDC_BTN_NUM_GENERATE), L"停止");
    Click(hwnd, IDC_BTN_NUM_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    const std::wstring message = catcher.boxes.back().text;
    std::wsmatch m;
    ASSERT_TRUE(std::regex_match(message, m,
                                 std::wregex(L"显示已停止：已显示 " + kCount +
                                             L" 个，共 200,000 个；全部结果请单击导出按钮保存。")))
        << std::string(message.begin(), message.end());
    const long long shown = CountIn(m[1].str());
    EXPECT_GT(shown, 0);
    EXPECT_LT(shown, MAX_SHOWN_LINES);
    EXPECT_EQ(static_cast<long long>(SplitLines(GetText(hwnd, IDC_EDIT_NUM_OUTPUT)).size()), shown);
    const std::wstring target =
        ExeFolder() + L"shown_numbers." + std::to_wstring(GetCurrentProcessId()) + L".txt";
    EXPECT_EQ(ExportAs(hwnd, catcher, IDC_BTN_NUM_EXPORT, L"数字.txt", target), L"导出成功！");
    EXPECT_EQ(static_cast<long long>(LinesOf(ReadFileBytes(target))), MAX_SHOWN_LINES);
    DeleteFileW(target.c_str());
}

TEST_F(StopInterval, AStoppedSeriesEndsAtOnce)
{
    SetText(hwnd, IDC_EDIT_INTERVAL_MIN, L"200");
    SetText(hwnd, IDC_EDIT_INTERVAL_MAX, L"200");
    const long long made =
        RunAndStop(hwnd, clock, catcher, IDC_BTN_TIME_GENERATE, L"已发生", L"次", L"10",
                   [&] { return !GetText(hwnd, IDC_EDIT_TIME_OUTPUT).empty(); });
    ASSERT_GE(made, 1);
    EXPECT_LT(made, 10);
    PumpFor(500); // no event after the stop
    EXPECT_EQ(static_cast<long long>(SplitLines(GetText(hwnd, IDC_EDIT_TIME_OUTPUT)).size()), made);
    EXPECT_EQ(catcher.boxes.size(), 1u);
}
