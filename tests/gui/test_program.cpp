// The built program itself: its version block, its manifest, and a run of the real Zanfor.exe as a
// separate process driven from outside, the way a user's clicks reach it.
#include "Harness.h"
#include "res/resource.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring ProgramPath()
{
    return ExeFolder() + L"Zanfor.exe";
}

std::wstring VersionValue(const std::vector<char>& block, const wchar_t* name)
{
    void* value = nullptr;
    UINT size = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\080404b0\\") + name;
    if (!VerQueryValueW(block.data(), key.c_str(), &value, &size))
        return L"<missing>";
    return std::wstring(static_cast<const wchar_t*>(value), size ? size - 1 : 0);
}

struct FindState {
    DWORD pid;
    const wchar_t* text; // wanted message text, "" for any message box, null for the main window
    HWND found;
};

BOOL CALLBACK FindWindowOf(HWND hwnd, LPARAM lParam)
{
    auto* s = reinterpret_cast<FindState*>(lParam);
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    wchar_t cls[32];
    GetClassNameW(hwnd, cls, 32);
    if (pid != s->pid || wcscmp(cls, L"#32770") != 0 || !IsWindowVisible(hwnd))
        return TRUE;
    const bool isBox = GetDlgItem(hwnd, 0xFFFF) != nullptr;
    if ((s->text == nullptr) != isBox &&
        (!s->text || !*s->text || GetText(hwnd, 0xFFFF) == s->text)) {
        s->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(DWORD pid, const wchar_t* boxText, DWORD timeoutMs = 15000)
{
    FindState s{pid, boxText, nullptr};
    const DWORD start = GetTickCount();
    while (!s.found && GetTickCount() - start < timeoutMs) {
        EnumWindows(FindWindowOf, reinterpret_cast<LPARAM>(&s));
        if (!s.found)
            Sleep(20);
    }
    return s.found;
}

// The page child of the tab control that holds control id.
HWND PageWith(HWND tab, int id)
{
    for (HWND page = GetWindow(tab, GW_CHILD); page; page = GetWindow(page, GW_HWNDNEXT))
        if (GetDlgItem(page, id))
            return page;
    return nullptr;
}

// Zanfor.exe started as a user would; ended by force should a test fail before it closes it.
struct RunningProgram {
    explicit RunningProgram(const std::wstring& exe = ProgramPath())
    {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring cmd = L"\"" + exe + L"\"";
        if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si,
                           &pi))
            main = WaitForWindow(pi.dwProcessId, nullptr);
    }
    ~RunningProgram()
    {
        if (pi.hProcess && WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(pi.hProcess, 9);
            WaitForSingleObject(pi.hProcess, 5000);
        }
        if (pi.hProcess) {
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
    }
    HWND Page(int id) const { return PageWith(GetDlgItem(main, IDC_TAB_PAGES), id); }
    // Posts the click (it opens a modal box in the other process) and waits for the box.
    HWND ClickAndWaitFor(HWND page, int id, const wchar_t* message) const
    {
        PostMessageW(page, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, id)));
        return WaitForWindow(pi.dwProcessId, message);
    }
    bool Alive() const { return WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT; }
    // Closes the main window; true when the process then ends by itself.
    bool CloseAndWait(DWORD ms = 15000) const
    {
        PostMessageW(main, WM_CLOSE, 0, 0);
        return WaitForSingleObject(pi.hProcess, ms) == WAIT_OBJECT_0;
    }
    PROCESS_INFORMATION pi{};
    HWND main = nullptr;
};

void Answer(HWND box)
{
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int i = 0; i < 200 && IsWindow(box); ++i)
        Sleep(10);
}

} // namespace

TEST(Program, VersionBlock)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeW(ProgramPath().c_str(), &handle);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(ProgramPath().c_str(), 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT len = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\", reinterpret_cast<void**>(&fixed), &len));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(27, 5));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 2));
    EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(27, 5));
    EXPECT_EQ(VersionValue(block, L"FileVersion"), L"2, 0, 5, 27");
    EXPECT_EQ(VersionValue(block, L"ProductVersion"), L"2, 0, 5, 27");
    EXPECT_EQ(VersionValue(block, L"FileDescription"), L"Zanfor");
    EXPECT_EQ(VersionValue(block, L"InternalName"), L"Zanfor");
    EXPECT_EQ(VersionValue(block, L"OriginalFilename"), L"Zanfor.EXE");
    EXPECT_EQ(VersionValue(block, L"ProductName"), L"Zanfor 应用程序");
    EXPECT_EQ(VersionValue(block, L"CompanyName"), L"Zanfor 工作室");
    EXPECT_EQ(VersionValue(block, L"LegalCopyright"), L"版权所有 (C) 2026 Zanfor 工作室");
    for (const wchar_t* empty : {L"Comments", L"LegalTrademarks", L"PrivateBuild", L"SpecialBuild"})
        EXPECT_EQ(VersionValue(block, empty), L"") << empty;
}

TEST(Program, ManifestFitsThisBuildAndTheIconHasThreeImages)
{
    HMODULE exe = LoadLibraryExW(ProgramPath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC res = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(res, nullptr);
    const char* xml = static_cast<const char*>(LockResource(LoadResource(exe, res)));
    const std::string manifest(xml, SizeofResource(exe, res));
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
              std::string::npos);
    // Both identities, the program's and the common controls', name this build's architecture:
    // Windows makes no activation context for a 64-bit program whose manifest says X86.
#ifdef _WIN64
    const std::string arch = "processorArchitecture=\"amd64\"";
#else
    const std::string arch = "processorArchitecture=\"X86\"";
#endif
    size_t named = 0, ours = 0;
    for (size_t at = manifest.find("processorArchitecture="); at != std::string::npos;
         at = manifest.find("processorArchitecture=", at + 1)) {
        ++named;
        ours += manifest.compare(at, arch.size(), arch) == 0;
    }
    EXPECT_EQ(named, 2u);
    EXPECT_EQ(ours, 2u) << manifest;
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);

    HRSRC group = FindResourceW(exe, MAKEINTRESOURCEW(IDR_MAINFRAME), MAKEINTRESOURCEW(14));
    ASSERT_NE(group, nullptr);
    const WORD* header = static_cast<const WORD*>(LockResource(LoadResource(exe, group)));
    EXPECT_EQ(header[2], 3); // idCount
    FreeLibrary(exe);
}

TEST(Program, RunsAndGeneratesOnEveryPage)
{
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + ProgramPath() + L"\"";
    ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
    HWND main = WaitForWindow(pi.dwProcessId, nullptr);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(GetText(main, 0), L"Zanfor ");
    HWND tab = GetDlgItem(main, IDC_TAB_PAGES);
    const struct {
        int tab, generate, count, output;
        const wchar_t* countText;
    } pages[] = {
        {0, IDC_BTN_STR_GENERATE, IDC_EDIT_STR_COUNT, IDC_EDIT_STR_OUTPUT, L"7"},
        {1, IDC_BTN_NUM_GENERATE, IDC_EDIT_NUM_COUNT, IDC_EDIT_NUM_OUTPUT, L"9"},
        {2, IDC_BTN_TIME_GENERATE, IDC_EDIT_TIME_COUNT, IDC_EDIT_TIME_OUTPUT, L"2"},
    };
    for (const auto& p : pages) {
        HWND page = PageWith(tab, p.generate);
        ASSERT_NE(page, nullptr);
        if (p.tab == 2) {
            SetText(page, IDC_EDIT_INTERVAL_MIN, L"10");
            SetText(page, IDC_EDIT_INTERVAL_MAX, L"20");
        }
        SetText(page, p.count, p.countText);
        // Posted: the click opens a modal box in the other process.
        PostMessageW(page, WM_COMMAND, MAKEWPARAM(p.generate, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(page, p.generate)));
        HWND box = WaitForWindow(pi.dwProcessId, L"生成成功！");
        ASSERT_NE(box, nullptr) << "page " << p.tab;
        EXPECT_EQ(GetText(box, 0), L"");
        EXPECT_EQ(SplitLines(GetText(page, p.output)).size(), std::stoul(p.countText))
            << "page " << p.tab;
        PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        for (int i = 0; i < 200 && IsWindow(box); ++i)
            Sleep(10);
    }
    // The strings page wrote its results file beside the program.
    EXPECT_EQ(SplitLines(Widen(ReadFileBytes(ExeFolder() + L"Zanfor_out.txt"))).size(), 7u);

    PostMessageW(main, WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(pi.hProcess, 15000), WAIT_OBJECT_0);
    DWORD code = 1;
    GetExitCodeProcess(pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// A program text longer than the shell's copies of it once overran them and killed the program at
// the first event. The longest accepted path and web address run, fail quietly (no such folder, no
// handler for the scheme) and leave the program alive; one character more is refused, as is the
// text that once killed it.
TEST(Program, ALongProgramTextIsRefusedAndTheLongestAcceptedOneRuns)
{
    RunningProgram program;
    ASSERT_NE(program.main, nullptr);
    HWND page = program.Page(IDC_BTN_TIME_GENERATE);
    ASSERT_NE(page, nullptr);
    SendMessageW(GetDlgItem(page, IDC_CHECK_RUN_PROGRAM), BM_SETCHECK, BST_CHECKED, 0);
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_CHECK_RUN_PROGRAM, BN_CLICKED), 0);
    SetText(page, IDC_EDIT_INTERVAL_MIN, L"10");
    SetText(page, IDC_EDIT_INTERVAL_MAX, L"10");
    SetText(page, IDC_EDIT_TIME_COUNT, L"1");
    const std::wstring path = L"C:\\no-such-folder\\", url = L"zanfor-none://host/";
    const wchar_t* tooLong =
        L"外部程序命令行过长（网址最多 971 个字符，以 www 开头的最多 248 个，其他最多 259 个）！";
    const wchar_t* ran = L"生成完成，但外部程序有 1 次未能启动！";
    const struct {
        const std::wstring& head;
        std::size_t length;
        const wchar_t* message;
    } runs[] = {{path, 1020, tooLong},
                {path, 260, tooLong},
                {path, 259, ran},
                {url, 972, tooLong},
                {url, 971, ran}};
    for (const auto& run : runs) {
        SetText(page, IDC_EDIT_PROGRAM,
                run.head + std::wstring(run.length - run.head.size(), L'x'));
        HWND box = program.ClickAndWaitFor(page, IDC_BTN_TIME_GENERATE, run.message);
        ASSERT_NE(box, nullptr) << run.length;
        EXPECT_EQ(WaitForSingleObject(program.pi.hProcess, 300), static_cast<DWORD>(WAIT_TIMEOUT));
        Answer(box);
    }
    EXPECT_EQ(SplitLines(GetText(page, IDC_EDIT_TIME_OUTPUT)).size(), 1u); // the last event ran
    EXPECT_TRUE(program.CloseAndWait());
}

// Two running programs never share a batch: the second keeps a results file of its own and says
// where; the first file keeps the first batch.
TEST(Program, ASecondInstanceKeepsAResultsFileOfItsOwn)
{
    const std::wstring shared = ExeFolder() + L"Zanfor_out.txt";
    RunningProgram first, second;
    ASSERT_NE(first.main, nullptr);
    ASSERT_NE(second.main, nullptr);
    HWND a = first.Page(IDC_BTN_STR_GENERATE), b = second.Page(IDC_BTN_STR_GENERATE);
    SetText(a, IDC_EDIT_STR_COUNT, L"7");
    SetText(b, IDC_EDIT_STR_COUNT, L"5");
    HWND box = first.ClickAndWaitFor(a, IDC_BTN_STR_GENERATE, L"生成成功！");
    ASSERT_NE(box, nullptr);
    Answer(box);
    const std::wstring own =
        ExeFolder() + L"Zanfor_out." + std::to_wstring(second.pi.dwProcessId) + L".txt";
    box = second.ClickAndWaitFor(b, IDC_BTN_STR_GENERATE,
                                 (L"生成成功！\r\n结果文件：" + own).c_str());
    ASSERT_NE(box, nullptr);
    Answer(box);
    EXPECT_EQ(Widen(ReadFileBytes(shared)), GetText(a, IDC_EDIT_STR_OUTPUT));
    EXPECT_EQ(Widen(ReadFileBytes(own)), GetText(b, IDC_EDIT_STR_OUTPUT));
    EXPECT_EQ(SplitLines(Widen(ReadFileBytes(shared))).size(), 7u);
    EXPECT_TRUE(first.CloseAndWait());
    EXPECT_TRUE(second.CloseAndWait());
    DeleteFileW(own.c_str());
}

// A program in a folder whose name GBK cannot spell still gets a results file, in the user's
// data folder, and the user is told where it went.
TEST(Program, AFolderNameGbkCannotSpellSendsTheResultsFileElsewhereAndSaysWhere)
{
    const std::wstring folder = ExeFolder() + L"\x0E01\x0E02\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW(ProgramPath().c_str(), (folder + L"Zanfor.exe").c_str(), FALSE));
    {
        RunningProgram program(folder + L"Zanfor.exe");
        ASSERT_NE(program.main, nullptr);
        HWND page = program.Page(IDC_BTN_STR_GENERATE);
        SetText(page, IDC_EDIT_STR_COUNT, L"3");
        HWND box = program.ClickAndWaitFor(page, IDC_BTN_STR_GENERATE, L"");
        ASSERT_NE(box, nullptr);
        const std::wstring message = GetText(box, 0xFFFF);
        const std::wstring prefix = L"生成成功！\r\n结果文件：";
        ASSERT_EQ(message.rfind(prefix, 0), 0u) << std::string(message.begin(), message.end());
        const std::wstring file = message.substr(prefix.size());
        EXPECT_EQ(file.find(folder), std::wstring::npos);
        EXPECT_EQ(Widen(ReadFileBytes(file)), GetText(page, IDC_EDIT_STR_OUTPUT));
        Answer(box);
        EXPECT_TRUE(program.CloseAndWait());
        DeleteFileW(file.c_str());
    }
    DeleteFileW((folder + L"Zanfor.exe").c_str());
    RemoveDirectoryW(folder.c_str());
}

// A batch as long as a batch can be: the window answers throughout, Generate turns into Stop with
// the progress shown, and closing the window ends the run and the process, leaving whole records.
TEST(Program, ALongRunKeepsTheWindowAnsweringAndClosingEndsIt)
{
    RunningProgram program;
    ASSERT_NE(program.main, nullptr);
    HWND page = program.Page(IDC_BTN_STR_GENERATE);
    SetText(page, IDC_EDIT_STR_COUNT, L"2147483647");
    PostMessageW(page, WM_COMMAND, MAKEWPARAM(IDC_BTN_STR_GENERATE, BN_CLICKED), 0);
    const DWORD start = GetTickCount();
    while (GetText(page, IDC_BTN_STR_GENERATE) != L"停止" && GetTickCount() - start < 10000)
        Sleep(20);
    ASSERT_EQ(GetText(page, IDC_BTN_STR_GENERATE), L"停止");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(page, IDC_BTN_STR_GENERATE)));
    // The run never ends by itself: a window thread that waited for it would never answer, so a
    // deadline catches it without timing the machine.
    for (int i = 0; i < 10; ++i) {
        DWORD_PTR answer = 0;
        EXPECT_NE(
            SendMessageTimeoutW(program.main, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0)
            << "no answer within 10 s, try " << i;
        Sleep(30);
    }
    const std::wstring progress = GetText(page, IDC_EDIT_STR_OUTPUT);
    EXPECT_EQ(progress.rfind(L"生成中，请稍后... ", 0), 0u);
    EXPECT_EQ(progress.back(), L'%');
    EXPECT_TRUE(program.CloseAndWait());
    DWORD code = 1;
    GetExitCodeProcess(program.pi.hProcess, &code);
    EXPECT_EQ(code, 0u);
    const std::string file = ReadFileBytes(ExeFolder() + L"Zanfor_out.txt");
    ASSERT_GE(file.size(), 2u);
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n"); // whole records only
}
