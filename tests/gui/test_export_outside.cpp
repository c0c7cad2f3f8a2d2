// Export while another program works in the target's folder: a racer that swaps Export's temporary
// file for a link the moment it appears, and the folder renamed during an Export. Under Wine the
// other program is a Unix one (tests/Outside.h), which Windows' sharing rules do not hold back.
#include "PageFixture.h"
#include "pages/Export.h"
#include "tests/Outside.h"

#include <algorithm>
#include <fstream>

namespace {

const std::string kText = "80.25\r\n\xCD\xB7\r\n"; // 头 in GBK

void WriteBytes(const std::wstring& path, const std::string& bytes)
{
    std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

// Swaps every new zan*.tmp in $1 for a link to $2 as soon as inotify reports it, and logs each
// swap in $3. It ends when its watch is killed (the pid in $3.pid), or after five minutes.
const char kRacer[] = "dir=$1 outside=$2 log=$3\n"
                      "rm -f \"$log\" \"$log.ev\" \"$log.ready\"\n"
                      "mkfifo \"$log.ev\"\n"
                      "timeout 300 inotifywait -m -e create --format %f \"$dir\" "
                      ">\"$log.ev\" 2>\"$log.ready\" &\n"
                      "echo $! >\"$log.pid\"\n"
                      "while read -r f; do\n"
                      "  case $f in\n"
                      "  zan*.tmp) [ -L \"$dir/$f\" ] ||\n"
                      "    { ln -sfn \"$outside\" \"$dir/$f\" && echo \"$f\" >>\"$log\"; } ;;\n"
                      "  esac\n"
                      "done <\"$log.ev\"\n";

class ExportBesideAnotherProgram : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!CanRunOutside())
            GTEST_SKIP() << "no shell to act as another program";
        // Tests run side by side in one folder: this one works in a folder of its own.
        if (GetFileAttributesW(work.c_str()) != INVALID_FILE_ATTRIBUTES) {
            ASSERT_TRUE(RunOutside(Words({"rm -rf", Sh(work)})));
        }
        ASSERT_TRUE(CreateDirectoryW(work.c_str(), nullptr));
        ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
        WriteBytes(outside, "outside\n");
        WriteBytes(target, "old\r\n");
    }
    void TearDown() override
    {
        if (!racerLog.empty())
            RunOutside(Words({"kill $(cat", Sh(racerLog + L".pid") + ")"}));
        // Links go with rm: under Wine a Windows delete would reach what they lead to.
        RunOutside(Words({"rm -rf", Sh(work)}));
    }
    static std::string Sh(const std::wstring& path)
    {
        std::string quoted(1, '\'');
        return quoted.append(UnixPath(path)).append(1, '\'');
    }
    // Starts the racer on folder and waits until its watch is set.
    void StartRacer()
    {
        racerLog = work + L"swapped";
        const std::wstring script = work + L"racer.sh";
        WriteBytes(script, kRacer);
        ASSERT_TRUE(RunOutside(Words({"sh", Sh(script), Sh(folder), Sh(outside), Sh(racerLog),
                                      "</dev/null >/dev/null 2>&1 & true"})));
        ASSERT_TRUE(PumpUntil([&] {
            return ReadFileBytes(racerLog + L".ready").find("Watches established") !=
                   std::string::npos;
        }));
    }
    std::size_t Swaps() const
    {
        const std::string log = ReadFileBytes(racerLog);
        return static_cast<std::size_t>(std::count(log.begin(), log.end(), '\n'));
    }
    // The text of an Export's closing message.
    static std::wstring Said(const ExportResult& r) { return Widen(ExportResultText(r).Str()); }

    const std::wstring work =
        ExeFolder() + L"export_outside." + std::to_wstring(GetCurrentProcessId()) + L"\\";
    const std::wstring folder = work + L"target folder\\";
    const std::wstring unslashed = folder.substr(0, folder.size() - 1);
    const std::wstring target = folder + L"export.txt";
    const std::wstring outside = work + L"outside.txt"; // beside the folder, not in it
    std::wstring racerLog;
};

} // namespace

// Each temporary file is swapped for a link to a file outside the folder before a byte is written:
// the Export fails and says why, the file outside is neither moved nor written, the target keeps
// its old bytes, and nothing of the Export's own stays behind.
TEST_F(ExportBesideAnotherProgram, ALinkSwappedInForTheTemporaryFileIsNeverFollowed)
{
    StartRacer();
    for (int round = 0; round < 3; ++round)
        for (ExportEncoding encoding : {ExportEncoding::Gbk, ExportEncoding::Utf8}) {
            const std::size_t before = Swaps();
            const ExportResult r = SaveExport(target, encoding, [&](const ExportWriter& write) {
                // The racer has had its chance: the new temporary file is a link now.
                EXPECT_TRUE(PumpUntil([&] { return Swaps() > before; })) << round;
                return write(kText);
            });
            EXPECT_EQ(Said(r), L"导出失败！\r\n临时文件已被其他程序替换，目标文件没有改动。")
                << round;
            EXPECT_EQ(ReadFileBytes(outside), "outside\n") << round;
            EXPECT_EQ(ReadFileBytes(target), "old\r\n") << round;
            EXPECT_TRUE(RunOutside(Words(
                {"test -f", Sh(outside), "&& test ! -L", Sh(outside), "&& test ! -L", Sh(target)})))
                << round;
        }
    EXPECT_EQ(Swaps(), 6u);
    // What is left at zan*.tmp is the racer's links, none a file.
    EXPECT_EQ(FilesIn(folder, L"zan*.tmp").size(), 6u);
    EXPECT_TRUE(
        RunOutside(Words({"! find", Sh(unslashed), "-name 'zan*.tmp' ! -type l | grep -q ."})));
}

// Windows refuses to rename a folder while a file in it is open, and so does Export's folder under
// Wine. A Unix mv is not refused: that Export fails and leaves no temporary file in the folder's
// new place.
TEST_F(ExportBesideAnotherProgram, ATargetFolderRenamedDuringAnExportKeepsNoTemporaryFile)
{
    ExportResult r = SaveExport(target, ExportEncoding::Gbk, [&](const ExportWriter& write) {
        const BOOL renamed = MoveFileW(unslashed.c_str(), (work + L"renamed").c_str());
        const DWORD error = GetLastError();
        EXPECT_FALSE(renamed);
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        return write(kText);
    });
    ASSERT_EQ(Said(r), L"导出成功！");
    EXPECT_EQ(ReadFileBytes(target), kText);

    const std::wstring moved = work + L"moved";
    for (ExportEncoding encoding : {ExportEncoding::Gbk, ExportEncoding::Utf8}) {
        r = SaveExport(target, encoding, [&](const ExportWriter& write) {
            return write(kText) && RunOutside(Words({"mv", Sh(unslashed), Sh(moved)})) &&
                   write(std::string(300000, 'x'));
        });
        EXPECT_EQ(Said(r), L"导出失败！\r\n目标文件夹已被移动或改名。");
        EXPECT_EQ(FilesIn(moved + L"\\", L"zan*"), std::vector<std::wstring>{});
        EXPECT_EQ(ReadFileBytes(moved + L"\\export.txt"), kText);
        ASSERT_TRUE(RunOutside(Words({"mv", Sh(moved), Sh(unslashed)})));
    }
}
