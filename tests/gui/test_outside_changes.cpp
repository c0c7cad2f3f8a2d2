// The strings page's results file changed by another program: a link planted at its name, the file
// removed, cut short or changed in place. A batch never goes through a link, and no message calls
// a batch or an Export a success over a file that is gone or no longer holds the batch. The other
// program is a Unix shell command started from under Wine (tests/Outside.h).
#include "PageFixture.h"
#include "pages/StringsPage.h"
#include "tests/Outside.h"

#include <cstdio>

namespace {

// The same name in the other case: upper case, or lower case where it is upper case already.
std::wstring OtherCase(const std::wstring& text)
{
    std::wstring other = text;
    CharUpperBuffW(other.data(), static_cast<DWORD>(other.size()));
    if (other == text)
        CharLowerBuffW(other.data(), static_cast<DWORD>(other.size()));
    return other;
}

class OutsideChanges : public PageFixture<CStringsPage> {
protected:
    void SetUp() override
    {
        if (!CanRunOutside())
            GTEST_SKIP() << "no shell to act as another program";
        PageFixture::SetUp();
    }
    std::wstring OutFile() const { return Widen(page->m_strOutFile.Str()); }
    // The file the page keeps of its own when the shared one is not its to take.
    std::wstring OwnFile() const
    {
        const std::wstring shared = Widen((g_pCore->getAppPath() + "_out.txt").Str());
        return shared.substr(0, shared.size() - 4) + L"." + std::to_wstring(GetCurrentProcessId()) +
               L".txt";
    }
    // A file as the shell names it.
    static std::string Sh(const std::wstring& path) { return Quoted(UnixPath(path)); }
    static std::string Quoted(const std::string& path)
    {
        return std::string(1, '\'').append(path).append(1, '\'');
    }
    static std::string Utf8(const std::wstring& text)
    {
        std::string bytes(text.size() * 3, '\0');
        bytes.resize(static_cast<std::size_t>(
            WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                bytes.data(), static_cast<int>(bytes.size()), nullptr, nullptr)));
        return bytes;
    }
    void SetCount(int n) { SetText(hwnd, IDC_EDIT_STR_COUNT, std::to_wstring(n)); }
    // The page as the program's next start makes it: the old results file is deleted.
    void NewPage()
    {
        page = std::make_unique<CStringsPage>(nullptr);
        ASSERT_TRUE(page->Create(IDD_PAGE_STRINGS, &hostWnd));
        hwnd = page->m_hWnd;
    }
    // Clicks a button and pumps until a box more has been answered.
    void ClickAndWait(int id, DWORD timeoutMs = 10000)
    {
        const std::size_t before = catcher.boxes.size();
        Click(hwnd, id);
        ASSERT_TRUE(PumpUntil([&] { return catcher.boxes.size() > before; }, timeoutMs));
        PumpFor(20);
    }
    // A batch that would never end by itself: command runs on the results file once the batch has
    // written more to it than the small batches before it, then the batch is stopped and its
    // closing message answered.
    void StopAfter(const std::string& command)
    {
        SetCount(2147483647);
        Click(hwnd, IDC_BTN_STR_GENERATE);
        WIN32_FILE_ATTRIBUTE_DATA data{};
        ASSERT_TRUE(PumpUntil([&] {
            return GetFileAttributesExW(OutFile().c_str(), GetFileExInfoStandard, &data) &&
                   (data.nFileSizeHigh > 0 || data.nFileSizeLow > 100000);
        }));
        ASSERT_TRUE(RunOutside(Words({command, Sh(OutFile())})));
        ASSERT_TRUE(PumpUntil([&] { return GetText(hwnd, IDC_BTN_STR_GENERATE) == L"停止"; }));
        ClickAndWait(IDC_BTN_STR_GENERATE, 20000);
    }
    // Export answered with path as GBK, a file there replaced; the message it ends with.
    std::wstring ExportTo(const std::wstring& path)
    {
        catcher.onBox = [path](const CaughtBox& box) {
            if (box.isMessageBox)
                return box.visibleButtons == 2 ? IDYES : IDOK;
            SaveAsLater(box.hwnd, L"字符串.txt", path, 0);
            return 0;
        };
        const std::size_t before = catcher.boxes.size();
        Click(hwnd, IDC_BTN_STR_EXPORT);
        PumpUntil([&] {
            return catcher.boxes.size() > before && catcher.boxes.back().isMessageBox &&
                   catcher.boxes.back().visibleButtons == 1;
        });
        return catcher.boxes.back().text;
    }
};

} // namespace

// Planted between batches over the page's file, or before the page comes up: neither the page's
// start nor a batch touches what the link leads to; the batch goes to a file of the page's own,
// and the message says where.
TEST_F(OutsideChanges, ALinkAtTheResultsFileNameIsLeftWithWhatItLeadsTo)
{
    const std::wstring target = ExeFolder() + L"link_target.txt";
    const std::string link = Sh(OutFile()), to = Sh(target);
    SetCount(3);
    ClickAndWait(IDC_BTN_STR_GENERATE);
    ASSERT_EQ(catcher.boxes.back().text, L"生成成功！");
    ASSERT_TRUE(RunOutside(Words({"printf 'keep\\r\\n' >", to, "&& ln -sf", to, link})));
    for (int round = 0; round < 2; ++round) {
        ClickAndWait(IDC_BTN_STR_GENERATE);
        EXPECT_EQ(catcher.boxes.back().text, L"生成成功！\r\n结果文件：" + OwnFile()) << round;
        EXPECT_EQ(Widen(ReadFileBytes(OwnFile())), GetText(hwnd, IDC_EDIT_STR_OUTPUT)) << round;
        EXPECT_EQ(ReadFileBytes(target), "keep\r\n") << round;
        // The link is there when the page comes up again.
        NewPage();
        SetCount(3);
        EXPECT_EQ(ReadFileBytes(target), "keep\r\n") << round;
    }
    EXPECT_TRUE(RunOutside(Words({"test -L", link})));
    RunOutside(Words({"rm -f", link, to, Sh(OwnFile())}));
}

// Removed between batches, removed during one, cut short during one, changed in place after one.
TEST_F(OutsideChanges, AResultsFileRemovedOrAlteredIsNeverASuccess)
{
    const std::wstring exported = ExeFolder() + L"outside_export.txt";
    DeleteFileW(exported.c_str());
    SetCount(4);
    ClickAndWait(IDC_BTN_STR_GENERATE);
    ASSERT_TRUE(RunOutside(Words({"rm", Sh(OutFile())})));
    ClickAndWait(IDC_BTN_STR_GENERATE); // a new file at the name
    EXPECT_EQ(catcher.boxes.back().text, L"生成成功！");
    EXPECT_EQ(Widen(ReadFileBytes(OutFile())), GetText(hwnd, IDC_EDIT_STR_OUTPUT));

    // Removed during a batch: the page still holds it, says so, and Export saves it.
    StopAfter("rm");
    const std::wstring removed = catcher.boxes.back().text;
    const std::wstring tail =
        L"\r\n结果文件已被删除：" + OutFile() + L"\r\n本次结果仍可单击导出按钮保存。";
    ASSERT_EQ(removed.rfind(L"生成已停止：已生成 ", 0), 0u);
    ASSERT_GT(removed.size(), tail.size());
    EXPECT_EQ(removed.substr(removed.size() - tail.size()), tail);
    EXPECT_EQ(GetFileAttributesW(OutFile().c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ExportTo(exported), L"导出成功！");
    std::wstring digits = removed.substr(wcslen(L"生成已停止：已生成 "));
    std::erase(digits, L','); // "3,701,305"
    const long long made = std::stoll(digits);
    EXPECT_EQ(static_cast<long long>(SplitLines(Widen(ReadFileBytes(exported))).size()), made);
    DeleteFileW(exported.c_str());

    // Cut short during a batch: a failure, and Export has nothing whole to offer.
    StopAfter("truncate -s 0");
    EXPECT_EQ(catcher.boxes.back().text,
              L"结果文件写入失败：" + OutFile() + L"\r\n结果文件已被修改，请重新生成。");
    EXPECT_EQ(ExportTo(exported), L"结果文件写入失败，没有可导出的完整结果，请重新生成。");

    // Changed in place after a whole batch, its size kept, by a byte that no string of letters
    // holds, so that the change is never the same byte again: Export finds out and saves nothing.
    SetCount(20000);
    ClickAndWait(IDC_BTN_STR_GENERATE);
    ASSERT_EQ(catcher.boxes.back().text, L"生成成功！");
    ASSERT_TRUE(RunOutside(Words({"printf '#' | dd bs=1 seek=100000 conv=notrunc 2>/dev/null",
                                  std::string("of=").append(Sh(OutFile()))})));
    EXPECT_EQ(ExportTo(exported), L"结果文件已被修改，请重新生成。");
    EXPECT_EQ(GetFileAttributesW(exported.c_str()), INVALID_FILE_ATTRIBUTES);

    // Three bytes past the first 64 KiB changed by +1, -2 and +1, which sums of the bytes would
    // miss: Export finds out, and the old target stays as it was. Every string begins "fff".
    SetText(hwnd, IDC_EDIT_HEAD, L"fff");
    ClickAndWait(IDC_BTN_STR_GENERATE);
    ASSERT_EQ(catcher.boxes.back().text, L"生成成功！");
    const std::size_t at = ReadFileBytes(OutFile()).find("\r\nfff", 70000) + 2;
    ASSERT_TRUE(RunOutside(Words({"printf gdg | dd bs=1 conv=notrunc 2>/dev/null",
                                  std::string("seek=").append(std::to_string(at)),
                                  std::string("of=").append(Sh(OutFile()))})));
    std::FILE* old = _wfopen(exported.c_str(), L"wb");
    ASSERT_NE(old, nullptr);
    std::fputs("old\r\n", old);
    std::fclose(old);
    EXPECT_EQ(ExportTo(exported), L"结果文件已被修改，请重新生成。");
    EXPECT_EQ(ReadFileBytes(exported), "old\r\n");
    DeleteFileW(exported.c_str());
}

// Names that differ only in case are one name to Windows but two to Linux: a link to the other
// spelling, beside it or in a folder so spelled, is a link all the same. Neither the page's start
// nor a batch deletes what it leads to.
TEST_F(OutsideChanges, ALinkToANameDifferingOnlyInCaseIsALink)
{
    // Spelled for the shell by hand: Wine would find the other spelling of a name that is there.
    const std::wstring bin = ExeFolder().substr(0, ExeFolder().size() - 1);
    const std::wstring name = OutFile().substr(bin.size() + 1);
    const std::size_t slash = bin.find_last_of(L'\\');
    const std::wstring otherBin = bin.substr(0, slash + 1) + OtherCase(bin.substr(slash + 1));
    const std::string unixBin = UnixPath(bin);
    const std::string unixOtherBin =
        unixBin.substr(0, unixBin.find_last_of('/') + 1) + Utf8(OtherCase(bin.substr(slash + 1)));
    const std::string link = Sh(OutFile());
    ASSERT_TRUE(RunOutside(Words({"mkdir -p", Quoted(unixOtherBin)})));
    const std::pair<std::wstring, std::string> targets[] = {
        {bin + L"\\" + OtherCase(name), unixBin + "/" + Utf8(OtherCase(name))},
        {otherBin + L"\\" + name, unixOtherBin + "/" + Utf8(name)},
    };
    for (const auto& [target, unixTarget] : targets) {
        const std::string to = Quoted(unixTarget);
        ASSERT_TRUE(RunOutside(Words({"printf 'keep\\r\\n' >", to, "&& ln -sf", to, link})));
        NewPage();
        EXPECT_EQ(ReadFileBytes(target), "keep\r\n");
        SetCount(3);
        ClickAndWait(IDC_BTN_STR_GENERATE);
        EXPECT_EQ(catcher.boxes.back().text, L"生成成功！\r\n结果文件：" + OwnFile());
        EXPECT_EQ(ReadFileBytes(target), "keep\r\n");
        EXPECT_TRUE(RunOutside(Words({"test -L", link})));
        page.reset();
        RunOutside(Words({"rm -f", link, to, Sh(OwnFile())}));
    }
    RunOutside(Words({"rmdir", Quoted(unixOtherBin)}));
}

// A link planted the moment a batch has deleted the old file, before it makes the new one, is a
// link: the batch goes to the page's own file and never blames another program for the old one. A
// racer plants it as fast as it can; the rounds go on until it has won one.
TEST_F(OutsideChanges, ALinkPlantedAsABatchStartsIsALink)
{
    const std::wstring target = ExeFolder() + L"link_target.txt";
    const std::string to = Sh(target), out = Sh(OutFile()), shared = page->m_strOutFile.Str();
    const std::string stop = Sh(ExeFolder() + L"racer.stop"),
                      done = Sh(ExeFolder() + L"racer.done");
    const std::string plain = Sh(ExeFolder() + L"racer.plain");
    ASSERT_TRUE(RunOutside(Words({"rm -f", stop, done, "&& printf 'keep\\r\\n' >", to})));
    ASSERT_TRUE(
        RunOutside(Words({"(perl -e 'symlink($ARGV[0], $ARGV[1]) until -e $ARGV[2]'", to, out, stop,
                          "; touch", done, ") >/dev/null 2>&1 </dev/null & :"})));
    // The racer stops however the test ends, and leaves nothing behind.
    struct Racer {
        std::string stop, done;
        bool running = true;
        void Stop()
        {
            if (running &&
                !RunOutside(Words({"touch", stop, "&& timeout 10 sh -c 'until test -e", done,
                                   "; do sleep 0.01; done' && rm -f", stop, done})))
                ADD_FAILURE() << "the racer did not stop";
            running = false;
        }
        ~Racer() { Stop(); }
    } racer{stop, done};
    SetCount(3);
    bool won = false;
    for (int round = 0; round < 100 && !won; ++round) {
        // A plain file at the name, for the batch to delete.
        ASSERT_TRUE(RunOutside(Words({"printf x >", plain, "&& mv -f", plain, out})));
        page->m_strOutFile = CString(shared);
        ClickAndWait(IDC_BTN_STR_GENERATE);
        const std::wstring message = catcher.boxes.back().text;
        won = message == L"生成成功！\r\n结果文件：" + OwnFile();
        if (!won) {
            ASSERT_EQ(message, L"生成成功！") << round;
        }
        EXPECT_EQ(ReadFileBytes(target), "keep\r\n") << round;
    }
    racer.Stop();
    EXPECT_TRUE(won) << "the racer never planted its link in time";
    EXPECT_TRUE(RunOutside(Words({"test -L", out})));
    page.reset();
    RunOutside(Words({"rm -f", out, to, Sh(OwnFile())}));
}
