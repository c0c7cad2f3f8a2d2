#include "PageFixture.h"
#include "pages/IntervalPage.h"

#include <regex>

namespace {

class IntervalPage : public PageFixture<CIntervalPage> {
protected:
    void Set(const wchar_t* lo, const wchar_t* hi, const wchar_t* count)
    {
        SetText(hwnd, IDC_EDIT_INTERVAL_MIN, lo);
        SetText(hwnd, IDC_EDIT_INTERVAL_MAX, hi);
        SetText(hwnd, IDC_EDIT_TIME_COUNT, count);
    }
    std::size_t Lines() const { return SplitLines(GetText(hwnd, IDC_EDIT_TIME_OUTPUT)).size(); }
};

bool IsEventLine(const std::wstring& line)
{
    static const std::wregex format(L"\\d{4}-\\d{2}-\\d{2}   \\d{2}:\\d{2}:\\d{2}");
    return std::regex_match(line, format);
}

} // namespace

TEST_F(IntervalPage, StateAfterStart)
{
    EXPECT_FALSE(IsCheckedBox(hwnd, IDC_CHECK_RUN_PROGRAM));
    EXPECT_FALSE(IsEnabled(hwnd, IDC_EDIT_PROGRAM));
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_PROGRAM), L"");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_INTERVAL_MIN), L"500");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_INTERVAL_MAX), L"3000");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_TIME_COUNT), L"10");
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_TIME_OUTPUT), L"");
}

TEST_F(IntervalPage, TheProgramBoxFollowsItsCheckBoxAndKeepsItsText)
{
    ClickCheck(hwnd, IDC_CHECK_RUN_PROGRAM, true);
    EXPECT_TRUE(IsEnabled(hwnd, IDC_EDIT_PROGRAM));
    SetText(hwnd, IDC_EDIT_PROGRAM, L"notepad.exe");
    ClickCheck(hwnd, IDC_CHECK_RUN_PROGRAM, false);
    EXPECT_FALSE(IsEnabled(hwnd, IDC_EDIT_PROGRAM));
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_PROGRAM), L"notepad.exe");
}

TEST_F(IntervalPage, OnlyTheFirstInvalidSettingIsReported)
{
    struct Case {
        bool run;
        const wchar_t *program, *lo, *hi, *count, *message;
    };
    const Case cases[] = {
        {true, L"", L"3000", L"500", L"0", L"外部程序命令行无效！"},
        {false, L"", L"3000", L"500", L"0", L"发生间隔设定无效！"},
        {true, L"   ", L"3000", L"500", L"0",
         L"发生间隔设定无效！"}, // blanks pass the program test
        {true, L"\U0001F600.exe", L"3000", L"500", L"0",
         L"外部程序命令行含有 GBK 无法表示的字符！"},
        {false, L"", L"1", L"2", L"", L"生成个数设定无效！"},
        {false, L"", L"1", L"2", L"0", L"生成个数设定无效！"},
    };
    for (const Case& c : cases) {
        ClickCheck(hwnd, IDC_CHECK_RUN_PROGRAM, c.run);
        SetText(hwnd, IDC_EDIT_PROGRAM, c.program);
        Set(c.lo, c.hi, c.count);
        SetText(hwnd, IDC_EDIT_TIME_OUTPUT, L"kept");
        catcher.boxes.clear();
        Click(hwnd, IDC_BTN_TIME_GENERATE);
        ASSERT_EQ(Messages(), std::vector<std::wstring>{c.message}) << c.lo << " " << c.count;
        EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_TIME_GENERATE));
    }
    PumpFor(100);
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_TIME_OUTPUT), L"kept");
}

TEST_F(IntervalPage, ARunOfThreeEventsShowsOneTwoThreeLines)
{
    SetText(hwnd, IDC_EDIT_TIME_OUTPUT, L"previous run");
    Set(L"50", L"80", L"3");
    bool disabledAtMessage = false;
    catcher.onBox = [&](const CaughtBox& box) {
        EXPECT_EQ(box.text, L"生成成功！");
        ExpectPlainMessageBox(box);
        disabledAtMessage = !IsEnabled(hwnd, IDC_BTN_TIME_GENERATE);
        return IDOK;
    };
    TextRecorder output(GetDlgItem(hwnd, IDC_EDIT_TIME_OUTPUT));
    Click(hwnd, IDC_BTN_TIME_GENERATE);
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_TIME_OUTPUT), L"");
    EXPECT_FALSE(IsEnabled(hwnd, IDC_BTN_TIME_GENERATE));
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    PumpFor(20);
    // Emptied at the click, then one, two, three lines: each time the whole log.
    std::vector<std::size_t> seen;
    for (const std::wstring& text : output.texts)
        seen.push_back(SplitLines(text).size());
    EXPECT_EQ(seen, (std::vector<std::size_t>{0, 1, 2, 3}));
    EXPECT_TRUE(disabledAtMessage);
    EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_TIME_GENERATE));
    const auto lines = SplitLines(GetText(hwnd, IDC_EDIT_TIME_OUTPUT));
    ASSERT_EQ(lines.size(), 3u);
    for (const std::wstring& line : lines)
        EXPECT_TRUE(IsEventLine(line)) << std::string(line.begin(), line.end());
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_EQ(lines[2].substr(0, 4), std::to_wstring(now.wYear));
    PumpFor(200); // exactly one closing message
    EXPECT_EQ(catcher.boxes.size(), 1u);

    // A second run starts from an empty box and an empty log.
    Set(L"0", L"0", L"1");
    Click(hwnd, IDC_BTN_TIME_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return catcher.boxes.size() == 2; }));
    EXPECT_EQ(SplitLines(GetText(hwnd, IDC_EDIT_TIME_OUTPUT)).size(), 1u);
}

TEST_F(IntervalPage, EqualDelaysGiveAFixedDelay)
{
    Set(L"300", L"300", L"2");
    const DWORD start = GetTickCount();
    Click(hwnd, IDC_BTN_TIME_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    const DWORD took = GetTickCount() - start;
    EXPECT_GE(took, 550u);
    EXPECT_LT(took, 10000u);
}

TEST_F(IntervalPage, TheShellOpensTheProgramOncePerEvent)
{
    const std::wstring program = ExeFolder() + L"shell_counter.exe";
    const std::wstring counter = program + L".count";
    DeleteFileW(counter.c_str());
    ClickCheck(hwnd, IDC_CHECK_RUN_PROGRAM, true);
    SetText(hwnd, IDC_EDIT_PROGRAM, program);
    Set(L"20", L"40", L"3");
    Click(hwnd, IDC_BTN_TIME_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    ASSERT_TRUE(
        PumpUntil([&] { return SplitLines(Widen(ReadFileBytes(counter))).size() >= 3; }, 20000));
    PumpFor(500); // and not a fourth time
    EXPECT_EQ(SplitLines(Widen(ReadFileBytes(counter))).size(), 3u);
    DeleteFileW(counter.c_str());
}

// Every way the shell can fail to open the text is counted; the run goes on, and its end says
// how many launches failed instead of calling it a success.
TEST_F(IntervalPage, LaunchesTheShellCannotMakeAreCountedAndReported)
{
    const std::wstring unknownKind = ExeFolder() + L"launch_test.zanfor-unknown";
    std::FILE* f = _wfopen(unknownKind.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fclose(f);
    const wchar_t* texts[] = {
        L"   ",                             // no name at all
        L"C:\\no such folder\\program.exe", // no such folder
        L"no-such-program-zanfor.exe",      // no such file
        unknownKind.c_str(),                // a file no program opens
    };
    ClickCheck(hwnd, IDC_CHECK_RUN_PROGRAM, true);
    for (const wchar_t* text : texts) {
        SetText(hwnd, IDC_EDIT_PROGRAM, text);
        Set(L"0", L"10", L"2");
        catcher.boxes.clear();
        Click(hwnd, IDC_BTN_TIME_GENERATE);
        ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
        EXPECT_EQ(Messages(), std::vector<std::wstring>{L"生成完成，但外部程序有 2 次未能启动！"})
            << std::wstring(text);
        EXPECT_EQ(Lines(), 2u);
    }
    DeleteFileW(unknownKind.c_str());
}

// How long a program text may be depends on what the shell makes of it; the longest of each kind
// passes the check, one more character is refused before anything runs.
TEST_F(IntervalPage, TheProgramTextsLimitFollowsWhatTheShellMakesOfIt)
{
    const std::wstring tooLong = Widen(MSG_PROGRAM_TOO_LONG.chinese);
    EXPECT_EQ(tooLong,
              L"外部程序命令行过长（网址最多 971 个字符，以 www 开头的最多 248 个，其他最多 "
              L"259 个）！");
    const auto text = [](const std::wstring& head, std::size_t length) {
        return head + std::wstring(length - head.size(), L'x');
    };
    ASSERT_TRUE(SetEnvironmentVariableW(L"ZANFOR_LONG", std::wstring(300, L'y').c_str()));
    const struct {
        std::wstring program;
        bool accepted;
    } cases[] = {
        {text(L"C:\\no-such-folder\\", MAX_PROGRAM_FILE_CHARS), true},
        {text(L"C:\\no-such-folder\\", MAX_PROGRAM_FILE_CHARS + 1), false},
        {L"\"" + text(L"C:\\no such folder\\", MAX_PROGRAM_FILE_CHARS) + L"\"", true},
        {text(L"zanfor-none://", MAX_PROGRAM_URL_CHARS), true},
        {text(L"zanfor-none://", MAX_PROGRAM_URL_CHARS + 1), false},
        {text(L"WWW.", MAX_PROGRAM_WWW_CHARS + 1), false},
        {L"%ZANFOR_LONG%", false}, // the shell reads it as 300 characters
    };
    ClickCheck(hwnd, IDC_CHECK_RUN_PROGRAM, true);
    Set(L"0", L"0", L"0"); // an accepted text goes on to the count's refusal, and nothing runs
    for (const auto& c : cases) {
        SetText(hwnd, IDC_EDIT_PROGRAM, c.program);
        catcher.boxes.clear();
        Click(hwnd, IDC_BTN_TIME_GENERATE);
        EXPECT_EQ(Messages(),
                  std::vector<std::wstring>{c.accepted ? L"生成个数设定无效！" : tooLong})
            << c.program.size() << L" " << c.program.substr(0, 20);
    }
    SetEnvironmentVariableW(L"ZANFOR_LONG", nullptr);
}

namespace {
// A scheme registered for the test, whose handler is shell_counter (found beside the test
// program) with the address as its argument.
class SchemeHandler {
public:
    explicit SchemeHandler(const wchar_t* scheme) : m_scheme(scheme)
    {
        const std::wstring command = m_scheme + L"\\shell\\open\\command";
        const std::wstring run = L"shell_counter.exe \"%1\"";
        HKEY key = nullptr;
        m_ok =
            RegCreateKeyExW(HKEY_CLASSES_ROOT, command.c_str(), 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, &key, nullptr) == ERROR_SUCCESS &&
            RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(run.c_str()),
                           static_cast<DWORD>((run.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
        if (key)
            RegCloseKey(key);
    }
    ~SchemeHandler() { RegDeleteTreeW(HKEY_CLASSES_ROOT, m_scheme.c_str()); }
    bool m_ok = false;

private:
    std::wstring m_scheme;
};
} // namespace

// A web address longer than any file name, the longest accepted, reaches the handler of its
// scheme whole.
TEST_F(IntervalPage, TheLongestWebAddressReachesItsHandlerWhole)
{
    SchemeHandler handler(L"zanfor-test");
    ASSERT_TRUE(handler.m_ok);
    const std::wstring counter = ExeFolder() + L"shell_counter.exe";
    DeleteFileW((counter + L".count").c_str());
    DeleteFileW((counter + L".args").c_str());
    std::wstring url = L"zanfor-test://host/path?q=";
    for (wchar_t c = L'a'; url.size() < MAX_PROGRAM_URL_CHARS; c = c == L'z' ? L'a' : c + 1)
        url += c;
    ClickCheck(hwnd, IDC_CHECK_RUN_PROGRAM, true);
    SetText(hwnd, IDC_EDIT_PROGRAM, url);
    Set(L"0", L"0", L"1");
    Click(hwnd, IDC_BTN_TIME_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    EXPECT_EQ(Messages(), std::vector<std::wstring>{L"生成成功！"});
    ASSERT_TRUE(PumpUntil([&] { return !ReadFileBytes(counter + L".count").empty(); }, 20000));
    const std::string args = ReadFileBytes(counter + L".args");
    EXPECT_EQ(
        std::wstring(reinterpret_cast<const wchar_t*>(args.data()), args.size() / sizeof(wchar_t)),
        url + L"\r\n");
    DeleteFileW((counter + L".count").c_str());
    DeleteFileW((counter + L".args").c_str());
}

TEST_F(IntervalPage, ANegativeDelayPastedIntoTheBoxWaitsNoTime)
{
    Set(L"-5000", L"-1000", L"2"); // would wrap to weeks as an unsigned timer delay
    Click(hwnd, IDC_BTN_TIME_GENERATE);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }, 3000));
    EXPECT_EQ(Lines(), 2u);
}

TEST_F(IntervalPage, ACountWhoseLinesCannotBeHeldIsRefusedButADayIsNot)
{
    Set(L"0", L"0", L"100000000");
    Click(hwnd, IDC_BTN_TIME_GENERATE);
    EXPECT_EQ(Messages(), std::vector<std::wstring>{L"生成次数过多，请减小生成次数！"});
    PumpFor(100);
    EXPECT_EQ(Lines(), 0u);
    EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_TIME_GENERATE));
    // A day at one event a second starts (and ends with the page).
    Set(L"1000", L"1000", L"86400");
    Click(hwnd, IDC_BTN_TIME_GENERATE);
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_TRUE(page->IsRunning());
}

TEST_F(IntervalPage, ExportDoesNothing)
{
    SetText(hwnd, IDC_EDIT_TIME_OUTPUT, L"as it was");
    Click(hwnd, IDC_BTN_TIME_EXPORT);
    Set(L"30", L"30", L"2");
    Click(hwnd, IDC_BTN_TIME_GENERATE);
    Click(hwnd, IDC_BTN_TIME_EXPORT); // during a run
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    EXPECT_EQ(Messages(), std::vector<std::wstring>{L"生成成功！"});
    EXPECT_EQ(Lines(), 2u);
}
