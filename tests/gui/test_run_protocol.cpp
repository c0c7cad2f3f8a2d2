// The run protocol the pages share, at its edges: a list still filling when the run's progress
// ticks, a stop during that fill or before the batch has started, a worker whose job throws, and
// Export after the results file failed. The page's clock moves only when a test moves it.
#include "PageFixture.h"
#include "core/RunMessages.h"
#include "pages/NumbersPage.h"
#include "pages/StringsPage.h"
#include "platform/TextConversion.h"

#include <atomic>
#include <new>
#include <regex>
#include <stdexcept>

namespace {

class RunProtocol : public ClockedPageFixture<CStringsPage> {
protected:
    // Starts a batch whose list fills the box in several pieces and, once the first piece is in,
    // ages the run past half a second and hands the page its progress tick: the tick falls inside
    // the fill, whatever this machine's speed.
    void StartFillPastHalfASecond(const TextRecorder& box)
    {
        SetText(hwnd, IDC_EDIT_HEAD, std::wstring(600, L'a'));
        SetText(hwnd, IDC_EDIT_STR_COUNT, L"1000");
        Click(hwnd, IDC_BTN_STR_GENERATE);
        ASSERT_TRUE(PumpUntil(
            [&] { return !box.texts.empty() && box.texts.back().rfind(L"aaaa", 0) == 0; }));
        EXPECT_EQ(page->RunPhase(), CGeneratorPage::Phase::Filling);
        clock.Advance(LONG_RUN_MS);
        SendMessageW(hwnd, WM_TIMER, PROGRESS_TIMER_ID, 0);
    }
    std::wstring ResultsFile() const
    {
        return Widen(ReadFileBytes(Widen(page->m_strOutFile.Str())));
    }
};

} // namespace

TEST_F(RunProtocol, AListStillFillingAfterHalfASecondEndsAsTheResultsFile)
{
    TextRecorder box(GetDlgItem(hwnd, IDC_EDIT_STR_OUTPUT));
    StartFillPastHalfASecond(box);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    EXPECT_EQ(Messages(), std::vector<std::wstring>{L"生成成功！"});
    const std::wstring shown = GetText(hwnd, IDC_EDIT_STR_OUTPUT);
    EXPECT_EQ(SplitLines(shown).size(), 1000u);
    EXPECT_EQ(shown, ResultsFile());
}

TEST_F(RunProtocol, AStopDuringTheFillSaysHowManyLinesAreShown)
{
    TextRecorder box(GetDlgItem(hwnd, IDC_EDIT_STR_OUTPUT));
    StartFillPastHalfASecond(box);
    ASSERT_EQ(GetText(hwnd, IDC_BTN_STR_GENERATE), L"停止");
    Click(hwnd, IDC_BTN_STR_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    const std::wstring message = catcher.boxes.back().text;
    std::wsmatch m;
    ASSERT_TRUE(std::regex_match(
        message, m,
        std::wregex(
            L"显示已停止：已显示 (\\d+) 个，共 1,000 个；全部结果在结果文件中，请单击导出按钮。")))
        << std::string(message.begin(), message.end());
    const std::size_t shown = std::stoul(m[1].str());
    EXPECT_LT(shown, 1000u);
    EXPECT_EQ(SplitLines(GetText(hwnd, IDC_EDIT_STR_OUTPUT)).size(), shown);
    EXPECT_EQ(SplitLines(ResultsFile()).size(), 1000u); // the batch itself is whole
}

TEST_F(RunProtocol, AStopBeforeTheBatchStartsLeavesNothingThatIsNotTrue)
{
    SetText(hwnd, IDC_EDIT_STR_OUTPUT, L"earlier");
    Click(hwnd, IDC_BTN_STR_GENERATE);
    // Half a second on by the page's clock, and no message handled: the progress tick, handed
    // over at once, turns Generate into Stop while the 200 ms wait has not ended.
    clock.Advance(LONG_RUN_MS - 1);
    SendMessageW(hwnd, WM_TIMER, PROGRESS_TIMER_ID, 0);
    EXPECT_EQ(GetText(hwnd, IDC_BTN_STR_GENERATE), L"生成"); // not yet half a second
    Click(hwnd, IDC_BTN_STR_GENERATE);                       // nor a Stop
    clock.Advance(1);
    SendMessageW(hwnd, WM_TIMER, PROGRESS_TIMER_ID, 0);
    ASSERT_EQ(page->RunPhase(), CGeneratorPage::Phase::Waiting);
    ASSERT_EQ(GetText(hwnd, IDC_BTN_STR_GENERATE), L"停止");
    Click(hwnd, IDC_BTN_STR_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    PumpFor(300);
    EXPECT_EQ(Messages(), std::vector<std::wstring>{L"生成已停止：已生成 0 个，共 10 个。"});
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT), L"");
    Click(hwnd, IDC_BTN_STR_EXPORT);
    EXPECT_EQ(Messages().back(), L"没有可导出的结果！");
}

namespace {

// A strings page whose batch stands still at a Chinese character the test chooses, until the test
// lets it go: the worker held up as a busy machine would hold it.
class HeldStringsPage : public CStringsPage {
public:
    using CStringsPage::CStringsPage;
    ~HeldStringsPage() override
    {
        SetEvent(letGo);
        CancelRun();
        CloseHandle(letGo);
    }
    long long holdAt = -1; // the draw that waits
    std::atomic<bool> held{false};
    HANDLE letGo = CreateEventW(nullptr, TRUE, FALSE, nullptr);

protected:
    ComposerSources BatchSources() override
    {
        ComposerSources sources = CStringsPage::BatchSources();
        sources.randInt = [this, draw = sources.randInt, draws = 0LL](int lo, int hi) mutable {
            if (++draws == holdAt) {
                held = true;
                WaitForSingleObject(letGo, INFINITE);
            }
            return draw(lo, hi);
        };
        return sources;
    }
};
using HeldWorker = ClockedPageFixture<HeldStringsPage>;

} // namespace

// Stopped while the batch is made, past half a second: the words say so and how many were made,
// and the box shows those strings, as many as the results file holds. The click's Stop once
// carried over into the list's showing: "显示已停止：已显示 0 个" though not all were made.
TEST_F(HeldWorker, AStopWhileTheBatchIsMadeShowsWhatWasMade)
{
    ClickCheck(hwnd, IDC_CHECK_HANZI, true);
    SetText(hwnd, IDC_EDIT_LEN_MIN, L"1000");
    SetText(hwnd, IDC_EDIT_LEN_MAX, L"1000");
    SetText(hwnd, IDC_EDIT_STR_COUNT, L"1000");
    page->holdAt = 200000; // a Chinese character takes two draws: some 200 strings in
    Click(hwnd, IDC_BTN_STR_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return page->held.load(); }));
    clock.Advance(LONG_RUN_MS);
    SendMessageW(hwnd, WM_TIMER, PROGRESS_TIMER_ID, 0);
    ASSERT_EQ(GetText(hwnd, IDC_BTN_STR_GENERATE), L"停止");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT).rfind(L"生成中，请稍后... ", 0), 0u);
    Click(hwnd, IDC_BTN_STR_GENERATE);
    SetEvent(page->letGo);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    const std::wstring message = catcher.boxes.back().text;
    std::wsmatch m;
    ASSERT_TRUE(
        std::regex_match(message, m, std::wregex(L"生成已停止：已生成 (\\d+) 个，共 1,000 个。")))
        << std::string(message.begin(), message.end());
    const std::size_t made = std::stoul(m[1].str());
    EXPECT_GT(made, 0u);
    EXPECT_LT(made, 1000u);
    const std::wstring shown = GetText(hwnd, IDC_EDIT_STR_OUTPUT);
    EXPECT_EQ(SplitLines(shown).size(), made);
    EXPECT_EQ(shown, Widen(ReadFileBytes(Widen(page->m_strOutFile.Str()))));
    PumpFor(20);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_STR_GENERATE));
}

namespace {

// A page whose run is one job on the worker that throws what the test says.
class ThrowingPage : public CGeneratorPage {
public:
    explicit ThrowingPage(CWnd* parent, const IClock& clock)
        : CGeneratorPage(IDD_PAGE_NUMBERS, parent, clock,
                         {.generate = IDC_BTN_NUM_GENERATE,
                          .exportButton = IDC_BTN_NUM_EXPORT,
                          .output = IDC_EDIT_NUM_OUTPUT})
    {
    }
    BOOL CheckInput() override { return TRUE; }
    std::function<void()> job;

protected:
    void StartRun() override
    {
        StartWorker([this](const std::atomic<bool>&, std::atomic<std::int64_t>&) { job(); });
    }
    void OnWorkerDone() override { FinishRun("returned"); }
};
using WorkerFailure = PageFixture<ThrowingPage>;

} // namespace

// An exception on the worker ends the run, not the program: the box and the message say what
// happened, and the page takes the next click.
TEST_F(WorkerFailure, AJobThatThrowsEndsTheRunWithWords)
{
    const std::vector<std::pair<std::function<void()>, std::wstring>> cases = {
        {[] { throw std::bad_alloc(); }, L"内存不足！"},
        {[] { throw std::runtime_error("no"); }, L"生成失败！"},
        {[] { throw 7; }, L"生成失败！"},
        {[] {}, L"returned"},
    };
    for (const auto& [job, words] : cases) {
        page->job = job;
        SetText(hwnd, IDC_EDIT_NUM_OUTPUT, L"earlier");
        const std::size_t before = catcher.boxes.size();
        Click(hwnd, IDC_BTN_NUM_GENERATE);
        ASSERT_TRUE(PumpUntil([&] { return catcher.boxes.size() > before; }));
        EXPECT_EQ(catcher.boxes.back().text, words);
        if (words != L"returned") {
            EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_OUTPUT), words);
        }
        EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_NUM_GENERATE));
        EXPECT_EQ(page->RunPhase(), CGeneratorPage::Phase::Idle);
    }
}

// When the file fails, Export writes the batch as it was made: not the box, which the user may
// have edited and which cannot hold a lead byte cut from its trail.
TEST_F(RunProtocol, ExportAfterAFailedFileWritesTheBatchsOwnBytes)
{
    const std::wstring full = FaultFolder("ZANFOR_FULL_DIR");
    ASSERT_FALSE(full.empty()) << "no small disk: run under scripts/test.sh";
    const std::wstring filler = full + L"filler", out = full + L"out.txt";
    std::FILE* f = _wfopen(filler.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fwrite(std::string(48 * 1024, 'f').data(), 1, 48 * 1024, f), 48u * 1024);
    std::fclose(f);
    page->m_strOutFile = GbkFromWide(out);
    SetText(hwnd, IDC_EDIT_HEAD, L"ab中文");
    SetText(hwnd, IDC_EDIT_INSERT, L"3|-"); // cuts 中 in two
    SetText(hwnd, IDC_EDIT_TAIL, std::wstring(1500, L'x'));
    SetText(hwnd, IDC_EDIT_STR_COUNT, L"20");
    Click(hwnd, IDC_BTN_STR_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    ASSERT_EQ(catcher.boxes.back().text.rfind(L"结果文件写入失败：", 0), 0u);
    SetText(hwnd, IDC_EDIT_STR_OUTPUT, L"edited by the user");

    const std::wstring target = ExeFolder() + L"after_failure.txt";
    ASSERT_EQ(ExportAs(hwnd, catcher, IDC_BTN_STR_EXPORT, L"字符串.txt", target), L"导出成功！");
    const std::string exported = ReadFileBytes(target);
    std::size_t lines = 0;
    for (std::size_t at = 0; at < exported.size(); ++lines) {
        const std::size_t end = exported.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = exported.substr(at, end - at);
        EXPECT_EQ(line.rfind("ab\xD6-\xD0\xCE\xC4", 0), 0u) << line.substr(0, 12);
        EXPECT_EQ(line.substr(line.size() - 1500), std::string(1500, 'x'));
        at = end + 2;
    }
    EXPECT_EQ(lines, 20u);
    page.reset();
    DeleteFileW(target.c_str());
    DeleteFileW(filler.c_str());
    DeleteFileW(out.c_str());
}
