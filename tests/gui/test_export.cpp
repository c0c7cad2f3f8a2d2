// Export under faults: the old file survives every failure, no temporary file is left behind, and
// the user is told why in the system's words.
#include "PageFixture.h"
#include "pages/Export.h"
#include "pages/NumbersPage.h"
#include "platform/SystemError.h"
#include "platform/TextConversion.h"

#include <gtest/gtest.h>

namespace {

const std::string kText = "80.25\r\n\xCD\xB7\r\n"; // 头 in GBK

ExportResult Save(const std::wstring& path, ExportEncoding encoding = ExportEncoding::Gbk,
                  const std::string& text = kText)
{
    return SaveExport(path, encoding, [&](const ExportWriter& write) {
        // In pieces, as the results file is read back.
        for (std::size_t at = 0; at < text.size(); at += 64 * 1024)
            if (!write(std::string_view(text).substr(at, 64 * 1024)))
                return false;
        return true;
    });
}

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::FILE* f = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
}

} // namespace

TEST(Export, AFailedSaveKeepsTheOldFileAndSaysWhy)
{
    struct Case {
        const char* fault;
        std::wstring folder, target;
        std::string text;
    };
    std::vector<Case> cases;
    const std::wstring here = ExeFolder();
    cases.push_back({"the target is a folder", here, here + L"export_as_folder", kText});
    cases.push_back({"the target is locked", here, here + L"export_locked.txt", kText});
    const std::wstring readOnly = FaultFolder("ZANFOR_READONLY_DIR");
    const std::wstring full = FaultFolder("ZANFOR_FULL_DIR");
    ASSERT_FALSE(readOnly.empty() || full.empty()) << "no small disks: run under scripts/test.sh";
    cases.push_back({"a read-only folder", readOnly, readOnly + L"old.txt", kText});
    cases.push_back({"the disk fills", full, full + L"old.txt", std::string(256 * 1024, 'x')});

    CreateDirectoryW(cases[0].target.c_str(), nullptr);
    WriteBytes(cases[1].target, "old\r\n");
    HANDLE locked =
        CreateFileW(cases[1].target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(locked, INVALID_HANDLE_VALUE);
    WriteBytes(cases[3].target, "old\r\n");

    for (const Case& c : cases) {
        const std::string before = ReadFileBytes(c.target);
        for (ExportEncoding encoding : {ExportEncoding::Gbk, ExportEncoding::Utf8}) {
            const ExportResult r = Save(c.target, encoding, c.text);
            EXPECT_EQ(r.outcome, ExportResult::Outcome::WriteFailed) << c.fault;
            EXPECT_FALSE(r.reason.IsEmpty()) << c.fault;
            EXPECT_EQ(ReadFileBytes(c.target), before) << c.fault;
            EXPECT_EQ(FilesIn(c.folder, L"zan*.tmp"), std::vector<std::wstring>{}) << c.fault;
        }
    }
    CloseHandle(locked);
    EXPECT_EQ(ReadFileBytes(cases[1].target), "old\r\n");
    RemoveDirectoryW(cases[0].target.c_str());
    DeleteFileW(cases[1].target.c_str());
    DeleteFileW(cases[3].target.c_str());
}

// Windows refuses to replace a read-only file; Wine would replace it after the question whether to.
TEST(Export, AReadOnlyTargetIsRefusedInTheSystemsWords)
{
    const std::wstring target =
        ExeFolder() + L"export_read_only." + std::to_wstring(GetCurrentProcessId()) + L".txt";
    WriteBytes(target, "old\r\n");
    ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
    for (ExportEncoding encoding : {ExportEncoding::Gbk, ExportEncoding::Utf8}) {
        const ExportResult r = Save(target, encoding);
        EXPECT_EQ(r.outcome, ExportResult::Outcome::WriteFailed);
        EXPECT_EQ(r.reason.Str(), SystemErrorText(ERROR_ACCESS_DENIED).Str());
        EXPECT_EQ(ReadFileBytes(target), "old\r\n");
        EXPECT_TRUE(GetFileAttributesW(target.c_str()) & FILE_ATTRIBUTE_READONLY);
    }
    EXPECT_EQ(FilesIn(ExeFolder(), L"zan*.tmp"), std::vector<std::wstring>{});
    SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileW(target.c_str());
}

TEST(Export, ReplacesTheTargetWholeAndTakesAnyName)
{
    // A name GBK cannot spell (Thai), and a target that exists: replaced, not appended to.
    const std::wstring target = ExeFolder() + L"\x0E01\x0E02 export.txt";
    WriteBytes(target, std::string(100000, 'o'));
    ASSERT_EQ(Save(target, ExportEncoding::Utf8).outcome, ExportResult::Outcome::Saved);
    EXPECT_EQ(ReadFileBytes(target), "80.25\r\n\xE5\xA4\xB4\r\n");
    ASSERT_EQ(Save(target).outcome, ExportResult::Outcome::Saved);
    EXPECT_EQ(ReadFileBytes(target), kText);
    EXPECT_EQ(FilesIn(ExeFolder(), L"zan*.tmp"), std::vector<std::wstring>{});
    DeleteFileW(target.c_str());
}

namespace {

// A page whose Export saves from a source that goes on until it is stopped or let go: an Export as
// long as the test wants, whatever this machine's speed.
class EndlessExportPage : public CNumbersPage {
public:
    using CNumbersPage::CNumbersPage;
    void ExportEndlessly(const std::wstring& path)
    {
        StartExport(
            path, ExportEncoding::Utf8,
            [this](const ExportWriter& write) {
                while (!letGo)
                    if (!write("80.25\r\n\xCD\xB7\r\n"))
                        return false;
                return true;
            },
            std::uint64_t{1} << 40);
    }
    std::atomic<bool> letGo{false};
};

class ExportOnTheWorker : public PageFixture<EndlessExportPage> {
protected:
    void SetUp() override
    {
        PageFixture::SetUp();
        WriteBytes(target, "old\r\n");
    }
    void TearDown() override
    {
        PageFixture::TearDown();
        DeleteFileW(target.c_str());
    }
    const std::wstring target = ExeFolder() + L"export_on_the_worker.txt";
};

} // namespace

// The window is free while Export saves: its button turns into Stop with the progress, and a
// stopped Export leaves the old target and no temporary file.
TEST_F(ExportOnTheWorker, AStoppedExportLeavesTheOldTarget)
{
    page->ExportEndlessly(target);
    EXPECT_FALSE(IsEnabled(hwnd, IDC_BTN_NUM_GENERATE));
    ASSERT_TRUE(
        PumpUntil([&] { return GetText(hwnd, IDC_BTN_NUM_EXPORT).rfind(L"停止 ", 0) == 0; }));
    EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_NUM_EXPORT));
    Click(hwnd, IDC_BTN_NUM_EXPORT);
    ASSERT_TRUE(PumpUntil([&] { return !catcher.boxes.empty(); }));
    EXPECT_EQ(Messages(), std::vector<std::wstring>{L"导出已停止，目标文件没有改动。"});
    EXPECT_EQ(GetText(hwnd, IDC_BTN_NUM_EXPORT), L"导出");
    EXPECT_TRUE(IsEnabled(hwnd, IDC_BTN_NUM_GENERATE));
    EXPECT_EQ(ReadFileBytes(target), "old\r\n");
    EXPECT_EQ(FilesIn(ExeFolder(), L"zan*.tmp"), std::vector<std::wstring>{});

    // Let go, the same source saves whole.
    page->letGo = false;
    page->ExportEndlessly(target);
    PumpFor(50);
    page->letGo = true;
    ASSERT_TRUE(PumpUntil([&] { return catcher.boxes.size() == 2; }));
    EXPECT_EQ(Messages().back(), L"导出成功！");
    EXPECT_EQ(ReadFileBytes(target).substr(0, 12), "80.25\r\n\xE5\xA4\xB4\r\n");
}

TEST_F(ExportOnTheWorker, ClosingTheWindowEndsAnExportAndLeavesTheOldTarget)
{
    page->ExportEndlessly(target);
    PumpFor(100);
    page.reset();
    EXPECT_EQ(ReadFileBytes(target), "old\r\n");
    EXPECT_EQ(FilesIn(ExeFolder(), L"zan*.tmp"), std::vector<std::wstring>{});
}

namespace {
using NumbersExport = PageFixture<CNumbersPage>;
} // namespace

// The numbers box is the user's to edit: Export saves what it shows. UTF-8 spells all of it; GBK
// cannot spell an emoji, and Export says so instead of writing "?" under "导出成功！".
TEST_F(NumbersExport, SavesWhatTheBoxShowsOrSaysGbkCannot)
{
    const std::wstring target =
        ExeFolder() + L"numbers_export." + std::to_wstring(GetCurrentProcessId()) + L".txt";
    DeleteFileW(target.c_str());
    SetText(hwnd, IDC_EDIT_NUM_OUTPUT, L"80.25\r\n\U0001F600 \x0E01\r\n");
    const auto exportAs = [&](int type) {
        catcher.onBox = [&, type](const CaughtBox& box) {
            if (!box.isMessageBox) {
                SaveAsLater(box.hwnd, L"数字.txt", target, type);
                return 0;
            }
            return box.visibleButtons == 2 ? IDYES : IDOK; // replace the file
        };
        const std::size_t before = catcher.boxes.size();
        Click(hwnd, IDC_BTN_NUM_EXPORT);
        EXPECT_TRUE(PumpUntil([&] {
            return catcher.boxes.size() > before && catcher.boxes.back().isMessageBox &&
                   catcher.boxes.back().visibleButtons == 1;
        }));
        return catcher.boxes.back().text;
    };
    EXPECT_EQ(exportAs(1), L"导出成功！");
    const std::string utf8 = "80.25\r\n\xF0\x9F\x98\x80 \xE0\xB8\x81\r\n";
    EXPECT_EQ(ReadFileBytes(target), utf8);
    EXPECT_EQ(exportAs(0), L"结果含有 GBK 无法表示的字符，请选择 UTF-8 文本导出。");
    EXPECT_EQ(ReadFileBytes(target), utf8);
    EXPECT_EQ(FilesIn(ExeFolder(), L"zan*.tmp"), std::vector<std::wstring>{});
    DeleteFileW(target.c_str());
}

// A numbers batch too large for memory whose temporary file cannot be written (the system's
// temporary folder on a full disk) is never a success, leaves no file behind, and Export has
// nothing to offer.
TEST_F(NumbersExport, AFullTemporaryFolderIsNeverASuccess)
{
    const std::wstring full = FaultFolder("ZANFOR_FULL_DIR");
    ASSERT_FALSE(full.empty()) << "no small disk: run under scripts/test.sh";
    wchar_t tmp[MAX_PATH + 1] = {}, temp[MAX_PATH + 1] = {};
    GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH + 1);
    GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH + 1);
    SetEnvironmentVariableW(L"TMP", full.c_str()); // GetTempPath reads TMP first, then TEMP
    SetEnvironmentVariableW(L"TEMP", full.c_str());
    SetText(hwnd, IDC_EDIT_NUM_COUNT, L"1000000");
    Click(hwnd, IDC_BTN_NUM_GENERATE);
    const bool ended = PumpUntil([&] { return !catcher.boxes.empty(); }, 60000);
    SetEnvironmentVariableW(L"TMP", tmp);
    SetEnvironmentVariableW(L"TEMP", temp);
    ASSERT_TRUE(ended);
    const std::wstring message = catcher.boxes.back().text;
    const std::wstring failed = L"临时文件写入失败：" + full + L"zan";
    EXPECT_EQ(message.substr(0, failed.size()), failed);
    EXPECT_EQ(message.substr(message.find(L"\r\n") + 2),
              Widen(SystemErrorText(ERROR_DISK_FULL).Str()));
    EXPECT_EQ(GetText(hwnd, IDC_EDIT_NUM_OUTPUT), L"临时文件写入失败，请检查后重新生成。");
    EXPECT_EQ(FilesIn(full, L"zan*.tmp"), std::vector<std::wstring>{});
    Click(hwnd, IDC_BTN_NUM_EXPORT);
    EXPECT_EQ(Messages().back(), L"没有可导出的结果！");
}
