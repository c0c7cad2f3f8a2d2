#include "PageFixture.h"
#include "pages/Export.h"
#include "pages/NumbersPage.h"

#include <set>

namespace {

class NumbersPage : public PageFixture<CNumbersPage> {
protected:
    void Generate() { Click(hwnd, IDC_BTN_NUM_GENERATE); }
    void Set(const wchar_t* lo, const wchar_t* hi, const wchar_t* count)
    {
        SetText(hwnd, IDC_EDIT_NUM_MIN, lo);
        SetText(hwnd, IDC_EDIT_NUM_MAX, hi);
        SetText(hwnd, IDC_EDIT_NUM_COUNT, count);
    }
};

} // namespace

TEST_F(NumbersPage, StateAfterStart)
{
    EXPECT_TRUE(IsCheckedBox(hwnd, IDC_CHECK_INTEGER));
    EXPECT_TRUE(IsCheckedBox(hwnd, IDC_CHECK_FLOAT));
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_MIN), L"80");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_MAX), L"100");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_COUNT), L"10");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_DECIMALS), L"2");
    EXPECT_TRUE(IsEnabled(hwnd, IDC_EDIT_DECIMALS));
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_OUTPUT), L"");
}

TEST_F(NumbersPage, TheDecimalsBoxFollowsItsCheckBoxAndKeepsItsText)
{
    SetText(hwnd, IDC_EDIT_DECIMALS, L"5");
    ClickCheck(hwnd, IDC_CHECK_FLOAT, false);
    EXPECT_FALSE(IsEnabled(hwnd, IDC_EDIT_DECIMALS));
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_DECIMALS), L"5");
    ClickCheck(hwnd, IDC_CHECK_FLOAT, true);
    EXPECT_TRUE(IsEnabled(hwnd, IDC_EDIT_DECIMALS));
    // The integer check box has no handler: the decimals box does not follow it.
    ClickCheck(hwnd, IDC_CHECK_INTEGER, false);
    EXPECT_TRUE(IsEnabled(hwnd, IDC_EDIT_DECIMALS));
}

TEST_F(NumbersPage, OnlyTheFirstInvalidSettingIsReported)
{
    struct Case {
        bool integer, floating;
        const wchar_t *lo, *hi, *count, *decimals;
        const wchar_t* message; // empty: accepted
    };
    const Case cases[] = {
        {false, false, L"100", L"80", L"0", L"-1", L"至少指定一种数字类型！"},
        {true, true, L"100", L"80", L"0", L"-1", L"保留小数位数设定无效！"},
        {true, false, L"100", L"80", L"0", L"-1", L"数值范围设定无效！"},
        {true, true, L"100", L"80", L"0", L"2", L"数值范围设定无效！"},
        {true, true, L"", L"-1", L"5", L"2", L"数值范围设定无效！"},
        {true, true, L"1", L"2", L"", L"2", L"生成个数设定无效！"},
        {true, false, L"1", L"2", L"3", L"-1", L""}, // decimals not read without decimals
        {true, true, L"0.1", L"0.10000000149", L"3", L"0", L""}, // the same float: equal bounds
        {false, true, L"7", L"7", L"3", L"2", L""},
    };
    for (const Case& c : cases) {
        ClickCheck(hwnd, IDC_CHECK_INTEGER, c.integer);
        ClickCheck(hwnd, IDC_CHECK_FLOAT, c.floating);
        Set(c.lo, c.hi, c.count);
        SetText(hwnd, IDC_EDIT_DECIMALS, c.decimals);
        SetText(hwnd, IDC_EDIT_NUM_OUTPUT, L"kept");
        catcher.boxes.clear();
        Generate();
        if (*c.message) {
            ASSERT_EQ(Messages(), std::vector<std::wstring>{c.message}) << c.lo << " " << c.hi;
            EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_OUTPUT), L"kept");
        } else {
            ASSERT_EQ(Messages(), std::vector<std::wstring>{L"生成成功！"}) << c.lo << " " << c.hi;
            EXPECT_EQ(SplitLines(GetText(hwnd, IDC_EDIT_NUM_OUTPUT)).size(), 3u);
        }
        EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_NUM_GENERATE));
    }
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_OUTPUT), L"7.00\r\n7.00\r\n7.00\r\n");
}

TEST_F(NumbersPage, FiveThousandLinesWithTheButtonDisabledUntilOk)
{
    Set(L"80", L"100", L"5000");
    bool disabledAtMessage = false;
    std::wstring outputAtMessage;
    catcher.onBox = [&](const CaughtBox& box) {
        EXPECT_EQ(box.text, L"生成成功！");
        ExpectPlainMessageBox(box);
        disabledAtMessage = !IsEnabled(hwnd, IDC_BTN_NUM_GENERATE);
        outputAtMessage = GetText(hwnd, IDC_EDIT_NUM_OUTPUT);
        return IDOK;
    };
    Generate();
    EXPECT_TRUE(disabledAtMessage);
    EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_NUM_GENERATE));
    const auto lines = SplitLines(outputAtMessage);
    ASSERT_EQ(lines.size(), 5000u);
    int whole = 0;
    for (const std::wstring& line : lines) {
        const double v = std::stod(line);
        ASSERT_TRUE(v >= 80 && v <= 100) << line;
        const auto dot = line.find(L'.');
        if (dot == std::wstring::npos)
            ++whole;
        else
            ASSERT_EQ(line.size() - dot, 3u) << line;
    }
    EXPECT_GT(whole, 2000);
    EXPECT_LT(whole, 3000);
}

TEST_F(NumbersPage, WholeNumbersOverEqualBounds)
{
    ClickCheck(hwnd, IDC_CHECK_FLOAT, false);
    Set(L"5", L"5", L"20");
    Generate();
    std::wstring expected;
    for (int i = 0; i < 20; ++i)
        expected += L"5\r\n";
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_OUTPUT), expected);
}

// A list is shown up to what a box shows: MAX_SHOWN_LINES lines, or MAX_SHOWN_BYTES bytes, and
// no more. A larger one is made all the same, and the box says where it is.
TEST_F(NumbersPage, AListIsShownUpToWhatABoxShows)
{
    const auto generateAndWait = [&] {
        const std::size_t before = catcher.boxes.size();
        Generate();
        EXPECT_TRUE(PumpUntil([&] { return catcher.boxes.size() > before; }, 60000));
        EXPECT_EQ(Messages().back(), L"生成成功！");
    };
    ClickCheck(hwnd, IDC_CHECK_FLOAT, false);
    Set(L"10", L"99", std::to_wstring(MAX_SHOWN_LINES).c_str()); // 4 bytes a line
    generateAndWait();
    EXPECT_EQ(static_cast<long long>(SplitLines(GetText(hwnd, IDC_EDIT_NUM_OUTPUT)).size()),
              MAX_SHOWN_LINES);
    Set(L"10", L"99", std::to_wstring(MAX_SHOWN_LINES + 1).c_str());
    generateAndWait();
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_OUTPUT),
              L"生成完成，列表过大不在此显示，请单击导出按钮。");

    // Decimals only, from 10 to 20 with 30 decimals: 35 bytes a line, line end included.
    ClickCheck(hwnd, IDC_CHECK_FLOAT, true);
    ClickCheck(hwnd, IDC_CHECK_INTEGER, false);
    SetText(hwnd, IDC_EDIT_DECIMALS, L"30");
    const long long most = MAX_SHOWN_BYTES / 35;
    Set(L"10", L"20", std::to_wstring(most).c_str());
    generateAndWait();
    const auto lines = SplitLines(GetText(hwnd, IDC_EDIT_NUM_OUTPUT));
    ASSERT_EQ(static_cast<long long>(lines.size()), most);
    EXPECT_EQ(lines[0].size(), 33u);
    Set(L"10", L"20", std::to_wstring(most + 1).c_str());
    generateAndWait();
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_OUTPUT),
              L"生成完成，列表过大不在此显示，请单击导出按钮。");
}

// No list is refused for its size: a million numbers, once refused as "生成结果过大", are made,
// held in the system's temporary folder (beside the program the page writes nothing), and saved
// whole by Export; the held file goes with the page. Only an item memory cannot hold is refused.
TEST_F(NumbersPage, AMillionNumbersAreMadeAndExportedWhole)
{
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    const std::wstring temp = folder;
    const std::size_t held = FilesIn(temp, L"zan*.tmp").size();
    const auto besideTheProgram = FilesIn(ExeFolder(), L"*");
    Set(L"80", L"100", L"1000000");
    Generate();
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }, 60000));
    EXPECT_EQ(Messages(), std::vector<std::wstring>{L"生成成功！"});
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_OUTPUT),
              L"生成完成，列表过大不在此显示，请单击导出按钮。");
    EXPECT_EQ(FilesIn(temp, L"zan*.tmp").size(), held + 1);
    EXPECT_EQ(FilesIn(ExeFolder(), L"*"), besideTheProgram);

    const std::wstring target =
        ExeFolder() + L"million." + std::to_wstring(GetCurrentProcessId()) + L".txt";
    ASSERT_EQ(ExportAs(hwnd, catcher, IDC_BTN_NUM_EXPORT, L"数字.txt", target), L"导出成功！");
    const std::string bytes = ReadFileBytes(target);
    std::size_t lines = 0, whole = 0;
    for (std::size_t at = 0; at < bytes.size(); ++lines) {
        const std::size_t end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        const std::string line = bytes.substr(at, end - at);
        const double v = std::stod(line);
        ASSERT_TRUE(v >= 80 && v <= 100) << line;
        const std::size_t dot = line.find('.');
        if (dot == std::string::npos)
            ++whole;
        else
            ASSERT_EQ(line.size() - dot, 3u) << line;
        at = end + 2;
    }
    EXPECT_EQ(lines, 1000000u);
    EXPECT_GT(whole, 450000u);
    EXPECT_LT(whole, 550000u);
    DeleteFileW(target.c_str());
    page.reset();
    EXPECT_EQ(FilesIn(temp, L"zan*.tmp").size(), held);

    // Many decimals that still fit in memory are written in full.
    page = std::make_unique<CNumbersPage>(nullptr);
    ASSERT_TRUE(page->Create(IDD_PAGE_NUMBERS, &hostWnd));
    hwnd = page->m_hWnd;
    ClickCheck(hwnd, IDC_CHECK_INTEGER, false);
    SetText(hwnd, IDC_EDIT_DECIMALS, L"300");
    Set(L"1", L"1", L"2");
    Generate();
    const auto shown = SplitLines(GetText(hwnd, IDC_EDIT_NUM_OUTPUT));
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], L"1." + std::wstring(300, L'0'));
}

TEST_F(NumbersPage, ExportWritesTheShownListAsGbkOrUtf8)
{
    const std::wstring text = L"80.25\r\n头\r\n";
    const std::string gbk = "80.25\r\n\xCD\xB7\r\n";
    const std::wstring path = ExeFolder() + L"export_test.txt";
    const auto save = [&](const std::wstring& to, ExportEncoding encoding) {
        return SaveExport(to, encoding, [&](const ExportWriter& write) {
                   return write(gbk);
               }).outcome == ExportResult::Outcome::Saved;
    };
    ASSERT_TRUE(save(path, ExportEncoding::Gbk));
    EXPECT_EQ(ReadFileBytes(path), gbk);
    ASSERT_TRUE(save(path, ExportEncoding::Utf8));
    EXPECT_EQ(ReadFileBytes(path), "80.25\r\n\xE5\xA4\xB4\r\n");
    EXPECT_FALSE(save(ExeFolder() + L"no such folder\\x.txt", ExportEncoding::Gbk));

    // With nothing to export the page says so; otherwise it asks where and saves the list shown.
    SetText(hwnd, IDC_EDIT_NUM_OUTPUT, L"");
    Click(hwnd, IDC_BTN_NUM_EXPORT);
    ASSERT_EQ(Messages(), std::vector<std::wstring>{L"没有可导出的结果！"});
    SetText(hwnd, IDC_EDIT_NUM_OUTPUT, text);
    catcher.onBox = [&](const CaughtBox& box) {
        if (box.isMessageBox)
            return IDOK;
        SaveAsLater(box.hwnd, L"数字.txt", path, 1);
        return 0;
    };
    DeleteFileW(path.c_str()); // no question about replacing it
    Click(hwnd, IDC_BTN_NUM_EXPORT);
    ASSERT_TRUE(PumpUntil([&] { return Messages().back() == L"导出成功！"; }));
    EXPECT_EQ(ReadFileBytes(path), "80.25\r\n\xE5\xA4\xB4\r\n");
    // Cancelled: nothing is written and nothing is said.
    DeleteFileW(path.c_str());
    catcher.onBox = [](const CaughtBox& box) { return box.isMessageBox ? IDOK : IDCANCEL; };
    const std::size_t shown = catcher.boxes.size();
    Click(hwnd, IDC_BTN_NUM_EXPORT);
    PumpFor(100);
    EXPECT_EQ(catcher.boxes.size(), shown + 1); // only Save As
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}
