#include "PageFixture.h"
#include "pages/StringsPage.h"
#include "platform/TextConversion.h"

namespace {

class StringsPage : public PageFixture<CStringsPage> {
protected:
    std::wstring OutFile() const { return Widen(page->m_strOutFile.Str()); }
    // Clicks Generate and pumps until the closing box has been answered.
    void GenerateAndWait()
    {
        const std::size_t before = catcher.boxes.size();
        Click(hwnd, IDC_BTN_STR_GENERATE);
        ASSERT_TRUE(PumpUntil([&] { return catcher.boxes.size() > before; }));
        PumpFor(20);
    }
    void SetCount(int n) { SetText(hwnd, IDC_EDIT_STR_COUNT, std::to_wstring(n)); }
};

} // namespace

TEST_F(StringsPage, StateAfterStart)
{
    EXPECT_TRUE(IsCheckedBox(hwnd, IDC_CHECK_UPPER));
    EXPECT_TRUE(IsCheckedBox(hwnd, IDC_CHECK_LOWER));
    EXPECT_FALSE(IsCheckedBox(hwnd, IDC_CHECK_DIGIT));
    EXPECT_FALSE(IsCheckedBox(hwnd, IDC_CHECK_HANZI));
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_LEN_MIN), L"5");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_LEN_MAX), L"8");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_COUNT), L"10");
    for (int id : {IDC_EDIT_HEAD, IDC_EDIT_TAIL, IDC_EDIT_INSERT, IDC_EDIT_STR_OUTPUT})
        EXPECT_EQ(GetText(hwnd, id), L"") << id;
    EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_STR_GENERATE));
    EXPECT_EQ(GetFileAttributesW(OutFile().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(page->m_strOutFile, g_pCore->getAppPath() + "_out.txt");
}

TEST_F(StringsPage, AResultsFileLeftByAnEarlierRunIsDeletedAtStart)
{
    const std::wstring path = OutFile();
    page.reset();
    std::FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fputs("old\r\n", f);
    std::fclose(f);
    page = std::make_unique<CStringsPage>(nullptr);
    ASSERT_TRUE(page->Create(IDD_PAGE_STRINGS, &hostWnd));
    EXPECT_EQ(GetFileAttributesW(path.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(StringsPage, OnlyTheFirstInvalidSettingIsReported)
{
    struct Case {
        bool upper, lower, digit, hanzi;
        const wchar_t *lenMin, *lenMax, *count;
        const wchar_t* message;
    };
    const Case cases[] = {
        {false, false, false, false, L"8", L"5", L"0", L"至少指定一种字符类型！"},
        {false, false, false, true, L"8", L"5", L"0", L"生成长度设定无效！"},
        {true, false, false, false, L"8", L"5", L"", L"生成长度设定无效！"},
        {true, false, false, false, L"6", L"6", L"", L"生成个数设定无效！"},
        {true, false, false, false, L"1", L"2", L"0", L"生成个数设定无效！"},
        {true, false, false, false, L"1", L"2", L"-3", L"生成个数设定无效！"},
    };
    SetText(hwnd, IDC_EDIT_STR_OUTPUT, L"kept");
    for (const Case& c : cases) {
        ClickCheck(hwnd, IDC_CHECK_UPPER, c.upper);
        ClickCheck(hwnd, IDC_CHECK_LOWER, c.lower);
        ClickCheck(hwnd, IDC_CHECK_DIGIT, c.digit);
        ClickCheck(hwnd, IDC_CHECK_HANZI, c.hanzi);
        SetText(hwnd, IDC_EDIT_LEN_MIN, c.lenMin);
        SetText(hwnd, IDC_EDIT_LEN_MAX, c.lenMax);
        SetText(hwnd, IDC_EDIT_STR_COUNT, c.count);
        catcher.boxes.clear();
        Click(hwnd, IDC_BTN_STR_GENERATE);
        ASSERT_EQ(Messages(), std::vector<std::wstring>{c.message}) << c.lenMin << " " << c.count;
        EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_STR_GENERATE));
        EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT), L"kept");
    }
    PumpFor(300); // no batch was started
    EXPECT_EQ(catcher.boxes.size(), 1u);
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT), L"kept");
}

TEST_F(StringsPage, WaitsWithADisabledButtonThenShowsTheBatch)
{
    SetText(hwnd, IDC_EDIT_LEN_MIN, L"6");
    SetText(hwnd, IDC_EDIT_LEN_MAX, L"6");
    bool disabledAtMessage = false;
    DWORD messageAt = 0;
    catcher.onBox = [&](const CaughtBox& box) {
        messageAt = GetTickCount();
        disabledAtMessage = !IsEnabled(hwnd, IDC_BTN_STR_GENERATE);
        EXPECT_EQ(box.text, L"生成成功！");
        ExpectPlainMessageBox(box);
        return IDOK;
    };
    TextRecorder output(GetDlgItem(hwnd, IDC_EDIT_STR_OUTPUT));
    const DWORD clickedAt = GetTickCount();
    Click(hwnd, IDC_BTN_STR_GENERATE);
    EXPECT_FALSE(IsEnabled(hwnd, IDC_BTN_STR_GENERATE));
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    PumpFor(20);
    // The waiting text, then nothing until the list, which waited for the 200 ms tick.
    ASSERT_EQ(output.texts.size(), 2u);
    EXPECT_EQ(output.texts[0], L"生成中，请稍后...");
    EXPECT_GE(output.times[1] - clickedAt, 180u);
    EXPECT_GE(messageAt - clickedAt, 180u);
    EXPECT_TRUE(disabledAtMessage);
    EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_STR_GENERATE));
    const auto lines = SplitLines(GetText(hwnd, IDC_EDIT_STR_OUTPUT));
    ASSERT_EQ(lines.size(), 10u);
    for (const std::wstring& line : lines) {
        ASSERT_EQ(line.size(), 6u);
        for (wchar_t c : line)
            EXPECT_TRUE((c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z')) << line;
    }
}

TEST_F(StringsPage, AThousandStringsAreShownAndAllGoToTheResultsFile)
{
    SetCount(1000);
    GenerateAndWait();
    const std::wstring shown = GetText(hwnd, IDC_EDIT_STR_OUTPUT);
    EXPECT_EQ(SplitLines(shown).size(), 1000u);
    // The file holds the same strings in the same order, one record per string.
    EXPECT_EQ(Widen(ReadFileBytes(OutFile())), shown);

    SetCount(1001);
    GenerateAndWait();
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT), L"生成完成，请单击导出按钮。");
    EXPECT_EQ(SplitLines(Widen(ReadFileBytes(OutFile()))).size(), 1001u);
    EXPECT_EQ(Messages(), (std::vector<std::wstring>{L"生成成功！", L"生成成功！"}));
}

// The Part's lists of at most 1000 are shown whenever they are within what a box shows: 1000
// strings of 2000 letters, or of 2000 Chinese characters (4000 bytes a line), once left to
// Export by an estimate of the time to show them. A line longer than a box shows is left to Export.
TEST_F(StringsPage, AThousandLongStringsAreShownWithinWhatABoxShows)
{
    SetText(hwnd, IDC_EDIT_LEN_MIN, L"2000");
    SetText(hwnd, IDC_EDIT_LEN_MAX, L"2000");
    SetCount(1000);
    for (bool chinese : {false, true}) {
        ClickCheck(hwnd, IDC_CHECK_UPPER, !chinese);
        ClickCheck(hwnd, IDC_CHECK_LOWER, !chinese);
        ClickCheck(hwnd, IDC_CHECK_HANZI, chinese);
        GenerateAndWait();
        EXPECT_EQ(Messages().back(), L"生成成功！");
        const std::wstring shown = GetText(hwnd, IDC_EDIT_STR_OUTPUT);
        const auto lines = SplitLines(shown);
        ASSERT_EQ(lines.size(), 1000u) << chinese;
        EXPECT_EQ(lines[999].size(), 2000u);
        EXPECT_EQ(Widen(ReadFileBytes(OutFile())), shown);
    }
    ClickCheck(hwnd, IDC_CHECK_HANZI, false);
    ClickCheck(hwnd, IDC_CHECK_UPPER, true);
    SetText(hwnd, IDC_EDIT_LEN_MIN, L"0");
    SetText(hwnd, IDC_EDIT_LEN_MAX, L"0");
    SetCount(2);
    for (long long length : {MAX_SHOWN_LINE_BYTES, MAX_SHOWN_LINE_BYTES + 1}) {
        const std::wstring line(static_cast<std::size_t>(length), L'h');
        SetText(hwnd, IDC_EDIT_HEAD, line);
        GenerateAndWait();
        EXPECT_EQ(Messages().back(), L"生成成功！");
        EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT),
                  length <= MAX_SHOWN_LINE_BYTES
                      ? line + L"\r\n" + line + L"\r\n"
                      : L"生成完成，列表过大不在此显示，请单击导出按钮。");
        EXPECT_EQ(SplitLines(Widen(ReadFileBytes(OutFile()))).size(), 2u);
    }
}

TEST_F(StringsPage, TheResultsFileHoldsOnlyTheLatestBatch)
{
    SetText(hwnd, IDC_EDIT_HEAD, L"first");
    GenerateAndWait();
    SetText(hwnd, IDC_EDIT_HEAD, L"second");
    SetCount(3);
    GenerateAndWait();
    const std::wstring file = Widen(ReadFileBytes(OutFile()));
    EXPECT_EQ(file, GetText(hwnd, IDC_EDIT_STR_OUTPUT));
    const auto lines = SplitLines(file);
    ASSERT_EQ(lines.size(), 3u);
    for (const std::wstring& line : lines)
        EXPECT_EQ(line.rfind(L"second", 0), 0u) << line;
}

TEST_F(StringsPage, InsertionSpecIsTrimmedButHeadAndTailKeepTheirBlanks)
{
    SetText(hwnd, IDC_EDIT_HEAD, L" a");
    SetText(hwnd, IDC_EDIT_TAIL, L"z ");
    SetText(hwnd, IDC_EDIT_INSERT, L" \t 1|-  ");
    SetText(hwnd, IDC_EDIT_LEN_MIN, L"2");
    SetText(hwnd, IDC_EDIT_LEN_MAX, L"2");
    GenerateAndWait();
    EXPECT_EQ(page->m_strInsert, "1|-");
    const auto lines = SplitLines(GetText(hwnd, IDC_EDIT_STR_OUTPUT));
    ASSERT_EQ(lines.size(), 10u);
    for (const std::wstring& line : lines) {
        ASSERT_EQ(line.size(), 7u) << line; // " -a" + two letters + "z "
        EXPECT_EQ(line.substr(0, 3), L" -a");
        EXPECT_EQ(line.substr(5), L"z ");
    }
}

// Text GBK cannot spell used to become "?" under 生成成功！; it is refused before anything is
// written, naming the box, in zanfor-cli's words.
TEST_F(StringsPage, TextGbkCannotSpellIsRefusedNamingItsBox)
{
    SetCount(2);
    GenerateAndWait();
    const std::string batch = ReadFileBytes(OutFile());
    SetText(hwnd, IDC_EDIT_STR_OUTPUT, L"kept");
    const struct {
        int box;
        const wchar_t* text;
        const wchar_t* message;
    } cases[] = {
        {IDC_EDIT_HEAD, L"ab\U0001F600cd", L"头部含有 GBK 无法表示的字符！"},
        {IDC_EDIT_TAIL, L"\xD55C\xAD6D\xC5B4", L"尾部含有 GBK 无法表示的字符！"}, // 한국어
        {IDC_EDIT_INSERT, L"1|\U0001F600", L"插入的文字含有 GBK 无法表示的字符！"},
    };
    for (const auto& c : cases) {
        SetText(hwnd, c.box, c.text);
        Click(hwnd, IDC_BTN_STR_GENERATE);
        EXPECT_EQ(Messages().back(), c.message);
        SetText(hwnd, c.box, L"");
    }
    PumpFor(300);
    EXPECT_EQ(Messages().size(), 4u);
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT), L"kept");
    EXPECT_EQ(ReadFileBytes(OutFile()), batch);
}

TEST_F(StringsPage, ChineseCharactersReadRightInTheBoxAndAreGbkInTheFile)
{
    ClickCheck(hwnd, IDC_CHECK_UPPER, false);
    ClickCheck(hwnd, IDC_CHECK_LOWER, false);
    ClickCheck(hwnd, IDC_CHECK_HANZI, true);
    SetText(hwnd, IDC_EDIT_HEAD, L"头");
    GenerateAndWait();
    const std::string bytes = ReadFileBytes(OutFile());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(bytes.substr(0, 2), "\xCD\xB7"); // 头 in GBK
    const auto lines = SplitLines(GetText(hwnd, IDC_EDIT_STR_OUTPUT));
    ASSERT_EQ(lines.size(), 10u);
    for (const std::wstring& line : lines) {
        EXPECT_EQ(line[0], L'头');
        for (wchar_t c : line.substr(1))
            EXPECT_TRUE(c >= 0x4E00 && c <= 0x9FA5)
                << std::hex << static_cast<int>(c); // CJK ideographs only
    }
}

// The results file under faults: the user is told, nothing is called a success, and the page
// goes on working.
TEST_F(StringsPage, AResultsFileThatCannotBeWrittenIsNeverASuccess)
{
    const std::wstring failed = L"结果文件写入失败：";
    const auto expectFailure = [&](const std::wstring& path) {
        ASSERT_FALSE(catcher.boxes.empty());
        const std::wstring message = catcher.boxes.back().text;
        EXPECT_EQ(message.rfind(failed + path + L"\r\n", 0), 0u) << message;
        EXPECT_GT(message.size(), failed.size() + path.size() + 2) << "no reason given";
        EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_STR_GENERATE));
    };
    // A folder that does not exist, a folder in the file's place.
    page->m_strOutFile = page->m_strOutFile + ".missing\\out.txt";
    SetCount(1001);
    GenerateAndWait();
    expectFailure(OutFile());
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT), L"结果文件写入失败，请检查后重新生成。");
    Click(hwnd, IDC_BTN_STR_EXPORT);
    EXPECT_EQ(Messages().back(), L"结果文件写入失败，没有可导出的完整结果，请重新生成。");
    const std::wstring folder = ExeFolder() + L"results_as_folder";
    CreateDirectoryW(folder.c_str(), nullptr);
    page->m_strOutFile = GbkFromWide(folder);
    GenerateAndWait();
    expectFailure(folder);
    RemoveDirectoryW(folder.c_str());

    // A read-only folder, and a full disk: a batch that could go on for hours ends at the first
    // write that fails.
    if (const std::wstring readOnly = FaultFolder("ZANFOR_READONLY_DIR"); !readOnly.empty()) {
        page->m_strOutFile = GbkFromWide(readOnly + L"out.txt");
        GenerateAndWait();
        expectFailure(readOnly + L"out.txt");
    } else {
        ADD_FAILURE() << "no read-only folder: run under scripts/test.sh";
    }
    if (const std::wstring full = FaultFolder("ZANFOR_FULL_DIR"); !full.empty()) {
        // A short batch that the disk cannot take: the list is whole, though the file is not, and
        // it is what Export offers.
        const std::wstring out = full + L"out.txt", filler = full + L"filler";
        std::FILE* f = _wfopen(filler.c_str(), L"wb");
        ASSERT_NE(f, nullptr);
        EXPECT_EQ(std::fwrite(std::string(48 * 1024, 'f').data(), 1, 48 * 1024, f), 48u * 1024);
        std::fclose(f);
        page->m_strOutFile = GbkFromWide(out);
        SetCount(20);
        SetText(hwnd, IDC_EDIT_TAIL, std::wstring(1500, L'x'));
        GenerateAndWait();
        expectFailure(out);
        EXPECT_EQ(SplitLines(GetText(hwnd, IDC_EDIT_STR_OUTPUT)).size(), 20u);
        DeleteFileW(filler.c_str());
        SetText(hwnd, IDC_EDIT_TAIL, L"");
        SetCount(2147483647);
        GenerateAndWait();
        expectFailure(out);
        page.reset();
        DeleteFileW(out.c_str());
    } else {
        ADD_FAILURE() << "no small disk: run under scripts/test.sh";
    }
}

// Another program holding the file: without any sharing (a second Zanfor does so) the page keeps
// a file of its own and says where; with delete sharing (a log viewer) the old file cannot go yet.
TEST_F(StringsPage, AResultsFileHeldByAnotherProgram)
{
    const std::wstring shared = OutFile();
    HANDLE locked =
        CreateFileW(shared.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    SetCount(4);
    GenerateAndWait();
    CloseHandle(locked);
    const std::wstring own = OutFile();
    EXPECT_EQ(own, shared.substr(0, shared.size() - 4) + L"." +
                       std::to_wstring(GetCurrentProcessId()) + L".txt");
    EXPECT_EQ(Messages().back(), L"生成成功！\r\n结果文件：" + own);
    EXPECT_EQ(Widen(ReadFileBytes(own)), GetText(hwnd, IDC_EDIT_STR_OUTPUT));
    EXPECT_EQ(ReadFileBytes(shared), "");
    page.reset(); // the page's own file goes with it; the shared one stays
    EXPECT_EQ(GetFileAttributesW(own.c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesW(shared.c_str()), INVALID_FILE_ATTRIBUTES);

    // The old file, opened by a viewer with delete sharing before the page came up.
    std::FILE* f = _wfopen(shared.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fputs("old\r\n", f);
    std::fclose(f);
    HANDLE viewer = CreateFileW(shared.c_str(), GENERIC_READ,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
    page = std::make_unique<CStringsPage>(nullptr);
    ASSERT_TRUE(page->Create(IDD_PAGE_STRINGS, &hostWnd));
    hwnd = page->m_hWnd;
    GenerateAndWait();
    EXPECT_EQ(Messages().back(), L"结果文件写入失败：" + shared +
                                     L"\r\n旧的结果文件正被其他程序打开，请关闭该程序后重新生成。");
    CloseHandle(viewer);
    GenerateAndWait();
    EXPECT_EQ(Messages().back(), L"生成成功！");
    EXPECT_EQ(Widen(ReadFileBytes(shared)), GetText(hwnd, IDC_EDIT_STR_OUTPUT));
}

// A page on a file of its own goes back to the shared name at the first batch that finds it free,
// and its own file goes then, and when the page goes. (A file at its name that is not the one it
// made is left alone: tests/test_results_file.cpp.)
TEST_F(StringsPage, ASecondInstanceGoesBackToTheSharedNameOnceItIsFree)
{
    const std::wstring shared = OutFile();
    const auto holdShared = [&] { // as another Zanfor does
        return CreateFileW(shared.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
    };
    HANDLE other = holdShared();
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    SetCount(4);
    GenerateAndWait();
    const std::wstring own = OutFile();
    ASSERT_NE(own, shared);
    GenerateAndWait(); // still held: the page's own file again, emptied in place
    EXPECT_EQ(Messages().back(), L"生成成功！\r\n结果文件：" + own);
    EXPECT_EQ(Widen(ReadFileBytes(own)), GetText(hwnd, IDC_EDIT_STR_OUTPUT));
    CloseHandle(other);

    GenerateAndWait();
    EXPECT_EQ(Messages().back(), L"生成成功！");
    EXPECT_EQ(OutFile(), shared);
    EXPECT_EQ(Widen(ReadFileBytes(shared)), GetText(hwnd, IDC_EDIT_STR_OUTPUT));
    EXPECT_EQ(GetFileAttributesW(own.c_str()), INVALID_FILE_ATTRIBUTES);

    // A page that comes up while another holds the name, and goes: its own file goes with it.
    page.reset();
    other = holdShared();
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    page = std::make_unique<CStringsPage>(nullptr);
    ASSERT_TRUE(page->Create(IDD_PAGE_STRINGS, &hostWnd));
    hwnd = page->m_hWnd;
    GenerateAndWait();
    ASSERT_EQ(OutFile(), own);
    EXPECT_NE(GetFileAttributesW(own.c_str()), INVALID_FILE_ATTRIBUTES);
    page.reset();
    EXPECT_EQ(GetFileAttributesW(own.c_str()), INVALID_FILE_ATTRIBUTES);
    CloseHandle(other);
    EXPECT_NE(GetFileAttributesW(shared.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(StringsPage, ExportSavesTheWholeLatestBatchAsGbkOrUtf8)
{
    Click(hwnd, IDC_BTN_STR_EXPORT); // nothing generated yet
    ASSERT_EQ(Messages(), std::vector<std::wstring>{L"没有可导出的结果！"});
    ClickCheck(hwnd, IDC_CHECK_HANZI, true);
    SetCount(5000); // past the shown limit: the results file is all there is
    GenerateAndWait();
    const std::string batch = ReadFileBytes(OutFile());
    ASSERT_EQ(SplitLines(Widen(batch)).size(), 5000u);

    const std::wstring gbkPath = ExeFolder() + L"strings_gbk.txt";
    const std::wstring utf8Path = ExeFolder() + L"strings_utf8.txt";
    for (auto [path, type] : {std::pair{gbkPath, 0}, std::pair{utf8Path, 1}}) {
        DeleteFileW(path.c_str());
        catcher.onBox = [&, path = path, type = type](const CaughtBox& box) {
            if (box.isMessageBox)
                return IDOK;
            SaveAsLater(box.hwnd, L"字符串.txt", path, type);
            return 0;
        };
        Click(hwnd, IDC_BTN_STR_EXPORT);
        ASSERT_TRUE(PumpUntil([&] { return Messages().back() == L"导出成功！"; }));
    }
    EXPECT_EQ(ReadFileBytes(gbkPath), batch);
    const std::string utf8 = ReadFileBytes(utf8Path);
    const int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                      static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring decoded(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), decoded.data(), n);
    EXPECT_EQ(decoded, Widen(batch));
    EXPECT_GT(utf8.size(), batch.size()); // three bytes a character instead of two
    DeleteFileW(gbkPath.c_str());
    DeleteFileW(utf8Path.c_str());
}

TEST_F(StringsPage, AStringTooLongForMemoryIsRefusedWhateverTheCount)
{
    const std::wstring tooLong = L"生成的字符串过长，请减小生成长度或头部、尾部、插入的文字！";
    SetText(hwnd, IDC_EDIT_STR_OUTPUT, L"kept");
    SetText(hwnd, IDC_EDIT_LEN_MIN, L"100000000"); // every string 100 MB, shown or not
    SetText(hwnd, IDC_EDIT_LEN_MAX, L"100000000");
    SetCount(1001);
    Click(hwnd, IDC_BTN_STR_GENERATE);
    SetCount(1);
    Click(hwnd, IDC_BTN_STR_GENERATE);
    EXPECT_EQ(Messages(), (std::vector<std::wstring>{tooLong, tooLong}));
    PumpFor(300);
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT), L"kept");
    EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_STR_GENERATE));

    // A batch the file takes is made whatever its count: 1000 strings with a 100 KB head, too many
    // bytes to keep beside the file, are left to Export as 1001 are.
    SetText(hwnd, IDC_EDIT_HEAD, std::wstring(100000, L'h'));
    SetText(hwnd, IDC_EDIT_LEN_MIN, L"5");
    SetText(hwnd, IDC_EDIT_LEN_MAX, L"8");
    SetCount(1000);
    GenerateAndWait();
    EXPECT_EQ(Messages().back(), L"生成成功！");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT),
              L"生成完成，列表过大不在此显示，请单击导出按钮。");
    EXPECT_EQ(SplitLines(Widen(ReadFileBytes(OutFile()))).size(), 1000u);
    SetText(hwnd, IDC_EDIT_HEAD, L"");

    // A huge upper bound alone is fine: a length never passes the lower bound by more than 32767.
    ClickCheck(hwnd, IDC_CHECK_HANZI, false);
    SetText(hwnd, IDC_EDIT_LEN_MIN, L"0");
    SetText(hwnd, IDC_EDIT_LEN_MAX, L"2000000000");
    SetCount(3);
    GenerateAndWait();
    EXPECT_EQ(Messages().back(), L"生成成功！");
    for (const std::wstring& line : SplitLines(GetText(hwnd, IDC_EDIT_STR_OUTPUT)))
        EXPECT_LE(line.size(), 32767u);
}

namespace {
// Answers Save As with path and type, and the question whether to replace a file with Yes.
std::function<int(const CaughtBox&)> SaveAs(const std::wstring& path, int type)
{
    return [path, type](const CaughtBox& box) {
        if (!box.isMessageBox) {
            SaveAsLater(box.hwnd, L"字符串.txt", path, type);
            return 0;
        }
        return box.visibleButtons == 2 ? IDYES : IDOK;
    };
}
} // namespace

TEST_F(StringsPage, ExportOntoTheResultsFileItselfIsRefused)
{
    SetCount(3);
    GenerateAndWait();
    const std::string batch = ReadFileBytes(OutFile());
    for (int type : {0, 1}) { // converting it in place once wiped it and was called a success
        catcher.onBox = SaveAs(OutFile(), type);
        const std::size_t before = catcher.boxes.size();
        Click(hwnd, IDC_BTN_STR_EXPORT);
        ASSERT_TRUE(PumpUntil([&] {
            return catcher.boxes.size() > before &&
                   Messages().back() == L"不能导出到结果文件本身，请另选文件名。";
        })) << type;
    }
    EXPECT_EQ(ReadFileBytes(OutFile()), batch);
}

// A path too long for the file dialog is refused inside it, which stays open: Wine's dialog once
// overran its buffers with such a name and ended the program. The longest path accepted saves.
TEST_F(StringsPage, ASaveAsPathTooLongIsRefusedAndTheLongestAcceptedSaves)
{
    SetCount(3);
    GenerateAndWait();
    const std::wstring folder = ExeFolder();
    const auto pathOf = [&](std::size_t length) {
        return folder + std::wstring(length - folder.size() - 4, L'n') + L".txt";
    };
    const std::wstring tooLong = L"导出文件的路径过长，请选择较短的文件名或文件夹。";
    for (std::size_t length : {300u, 256u}) {
        HWND dialog = nullptr;
        catcher.onBox = [&](const CaughtBox& box) {
            if (!box.isMessageBox) {
                dialog = box.hwnd;
                SaveAsLater(box.hwnd, L"字符串.txt", pathOf(length), 0);
                return 0;
            }
            if (box.text == tooLong) // then the user gives up
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            return IDOK;
        };
        Click(hwnd, IDC_BTN_STR_EXPORT);
        EXPECT_EQ(Messages().back(), tooLong) << length;
    }
    const std::wstring longest = pathOf(255);
    catcher.onBox = SaveAs(longest, 0);
    Click(hwnd, IDC_BTN_STR_EXPORT);
    ASSERT_TRUE(PumpUntil([&] { return Messages().back() == L"导出成功！"; }));
    EXPECT_EQ(ReadFileBytes(longest), ReadFileBytes(OutFile()));
    DeleteFileW(longest.c_str());
}

// An insertion that splits a Chinese character: the file keeps the bytes as made, and the box and
// the UTF-8 export show the orphaned lead byte as U+FFFD without losing the byte after it.
TEST_F(StringsPage, AnInsertThatSplitsACharacterLosesNoOtherByte)
{
    SetText(hwnd, IDC_EDIT_HEAD, L"ab中文");
    SetText(hwnd, IDC_EDIT_INSERT, L"3|-");
    SetText(hwnd, IDC_EDIT_LEN_MIN, L"0");
    SetText(hwnd, IDC_EDIT_LEN_MAX, L"0");
    SetCount(2);
    GenerateAndWait();
    EXPECT_EQ(ReadFileBytes(OutFile()), "ab\xD6-\xD0\xCE\xC4\r\nab\xD6-\xD0\xCE\xC4\r\n");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT), L"ab\xFFFD-形\xFFFD\r\nab\xFFFD-形\xFFFD\r\n");
    const std::wstring path = ExeFolder() + L"split_utf8.txt";
    DeleteFileW(path.c_str());
    catcher.onBox = SaveAs(path, 1);
    Click(hwnd, IDC_BTN_STR_EXPORT);
    ASSERT_TRUE(PumpUntil([&] { return Messages().back() == L"导出成功！"; }));
    EXPECT_EQ(ReadFileBytes(path), "ab\xEF\xBF\xBD-\xE5\xBD\xA2\xEF\xBF\xBD\r\n"
                                   "ab\xEF\xBF\xBD-\xE5\xBD\xA2\xEF\xBF\xBD\r\n");
    DeleteFileW(path.c_str());
}

// A list the box would take seconds to show (each line costs with the square of its length) is left
// to Export, as a batch past the shown limit is.
TEST_F(StringsPage, AListTheBoxWouldTakeTooLongToShowIsLeftToExport)
{
    SetText(hwnd, IDC_EDIT_HEAD, std::wstring(10000, L'h'));
    SetCount(100);
    GenerateAndWait();
    EXPECT_EQ(Messages().back(), L"生成成功！");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_STR_OUTPUT),
              L"生成完成，列表过大不在此显示，请单击导出按钮。");
    EXPECT_EQ(SplitLines(Widen(ReadFileBytes(OutFile()))).size(), 100u);
}
