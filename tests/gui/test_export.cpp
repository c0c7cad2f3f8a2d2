// Export under faults: the old file survives every failure, no temporary file is left behind, and
// the user is told why in the system's words.
#include "Harness.h"
#include "pages/Export.h"

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
