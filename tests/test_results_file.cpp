// The results file against other programs: a link planted at its name, the file removed, cut short
// or changed in place while the page holds it. The files are in the test's folder, each test's
// named after it (tests run side by side); the other program is a shell command (tests/Outside.h).
#include "Outside.h"
#include "platform/ResultsFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::string Contents(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string ReadBack(CResultsFile& file, bool& ok)
{
    std::string back;
    ok = file.ReadBack([&](std::string_view piece) {
        back.append(piece);
        return true;
    });
    return back;
}

const CString kAltered("结果文件已被修改，请重新生成。");

class ResultsFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!CanRunOutside())
            GTEST_SKIP() << "no shell to act as another program";
    }
    void TearDown() override { RunOutside(Words({"rm -rf", files})); }
    std::string files; // to remove at the end
};

} // namespace

// A batch never goes through a link at the name, nor removes what it leads to, whether the link
// leads to a file, nowhere, or is planted over the held file between batches.
TEST_F(ResultsFile, ALinkAtTheNameIsLeftAloneWithWhatItLeadsTo)
{
    files = "rf_target.txt rf_link.txt rf_dangling.txt rf_held.txt";
    ASSERT_TRUE(RunOutside("printf 'keep\\r\\n' >rf_target.txt && ln -s rf_target.txt rf_link.txt "
                           "&& ln -s rf_nowhere.txt rf_dangling.txt"));
    for (const char* name : {"rf_link.txt", "rf_dangling.txt"}) {
        CResultsFile file;
        EXPECT_EQ(file.Begin(name), CResultsFile::Start::HeldElsewhere) << name;
        EXPECT_FALSE(file.ErrorText().IsEmpty()) << name;
    }
    CResultsFile held;
    ASSERT_EQ(held.Begin("rf_held.txt"), CResultsFile::Start::Ok);
    ASSERT_TRUE(held.Write("one\r\n"));
    ASSERT_TRUE(RunOutside("ln -sf rf_target.txt rf_held.txt"));
    EXPECT_EQ(held.Begin("rf_held.txt"), CResultsFile::Start::HeldElsewhere);

    EXPECT_EQ(Contents("rf_target.txt"), "keep\r\n");
    EXPECT_TRUE(RunOutside("test -L rf_link.txt && test -L rf_dangling.txt && test -L rf_held.txt "
                           "&& test ! -e rf_nowhere.txt"));
}

// A plain file whose name differs only in case is, to Windows (and so under Wine), the file at the
// name; to Linux another file. (Links to such names: tests/gui/test_outside_changes.cpp.)
TEST_F(ResultsFile, APlainFileNamedInAnotherCase)
{
    files = "rf_plain.txt RF_PLAIN.TXT";
    ASSERT_TRUE(RunOutside("printf 'old\\r\\n' >RF_PLAIN.TXT"));
    CResultsFile plain;
    ASSERT_EQ(plain.Begin("rf_plain.txt"), CResultsFile::Start::Ok);
    ASSERT_TRUE(plain.Write("new\r\n"));
    EXPECT_EQ(Contents("rf_plain.txt"), "new\r\n");
#ifdef _WIN32
    EXPECT_TRUE(RunOutside("test ! -e RF_PLAIN.TXT"));
#else
    EXPECT_EQ(Contents("RF_PLAIN.TXT"), "old\r\n");
#endif
}

// Not the page's to replace, and left as they are: a FIFO, and a read-only file (its attribute
// too), at the start and at a batch.
TEST_F(ResultsFile, AFifoOrAReadOnlyFileIsLeftAsItIs)
{
    files = "rf_fifo.txt rf_readonly.txt";
    ASSERT_TRUE(RunOutside("mkfifo rf_fifo.txt && printf 'old\\r\\n' >rf_readonly.txt && "
                           "chmod a-w rf_readonly.txt"));
    for (const char* name : {"rf_fifo.txt", "rf_readonly.txt"}) {
        CResultsFile::RemoveOld(name);
        CResultsFile file;
        EXPECT_EQ(file.Begin(name), CResultsFile::Start::HeldElsewhere) << name;
        EXPECT_FALSE(file.ErrorText().IsEmpty()) << name;
    }
    EXPECT_TRUE(RunOutside("test -p rf_fifo.txt && test $(stat -c %a rf_readonly.txt) = 444"));
    EXPECT_EQ(Contents("rf_readonly.txt"), "old\r\n");
}

// The held file keeps its batch when removed, and the next batch makes a new file at the name; a
// file cut short or changed in place is never read back as the batch.
TEST_F(ResultsFile, RemovedCutShortOrChangedFromOutside)
{
    files = "rf_out.txt";
    CResultsFile file;
    ASSERT_EQ(file.Begin("rf_out.txt"), CResultsFile::Start::Ok);
    ASSERT_TRUE(file.Write("first\r\n"));
    ASSERT_TRUE(RunOutside("rm rf_out.txt"));
    bool ok = false;
    EXPECT_EQ(ReadBack(file, ok), "first\r\n");
    EXPECT_TRUE(ok);
    ASSERT_EQ(file.Begin("rf_out.txt"), CResultsFile::Start::Ok);
    ASSERT_TRUE(file.Write("second\r\n"));
    EXPECT_EQ(Contents("rf_out.txt"), "second\r\n");

    // What is written after the cut goes to the end: the file stays short of the batch.
    ASSERT_TRUE(RunOutside("truncate -s 0 rf_out.txt"));
    ASSERT_TRUE(file.Write("third\r\n"));
    EXPECT_FALSE(file.Verify());
    EXPECT_EQ(file.ErrorText(), kAltered);
    ReadBack(file, ok);
    EXPECT_FALSE(ok);

    // The size kept, bytes changed: a byte, or three by +1, -2 and +1, which sums of the bytes
    // would miss. Within the start that Verify reads it finds them; past it only Export's
    // read-back does.
    for (const auto& [bytes, at] : {std::pair{"X", 90000}, {"gdg", 1000}, {"gdg", 90000}}) {
        ASSERT_EQ(file.Begin("rf_out.txt"), CResultsFile::Start::Ok);
        ASSERT_TRUE(file.Write(std::string(100000, 'f') + "\r\n"));
        ASSERT_TRUE(
            RunOutside(Words({"printf", bytes, "| dd of=rf_out.txt bs=1 conv=notrunc",
                              std::string("seek=").append(std::to_string(at)), "2>/dev/null"})));
        EXPECT_EQ(file.Verify(), at >= 64 * 1024) << bytes << at;
        ReadBack(file, ok);
        EXPECT_FALSE(ok) << bytes << at;
        EXPECT_EQ(file.ErrorText(), kAltered) << bytes << at;
    }
}

// A page's own file goes when the page is done with it, and only while its name still leads to the
// very file the page made: replaced by another program's file, or by a link, the name and what it
// leads to are left alone.
TEST_F(ResultsFile, RemoveDeletesOnlyTheFileItHolds)
{
    files = "rf_own.txt rf_other.txt rf_kept.txt";
    CResultsFile own;
    ASSERT_EQ(own.Begin("rf_own.txt"), CResultsFile::Start::Ok);
    ASSERT_TRUE(own.Write("mine\r\n"));
    own.Remove();
    EXPECT_FALSE(own.IsOpen());
    EXPECT_TRUE(RunOutside("test ! -e rf_own.txt"));

    ASSERT_EQ(own.Begin("rf_own.txt"), CResultsFile::Start::Ok);
    ASSERT_TRUE(RunOutside("printf 'other' >rf_other.txt && mv -f rf_other.txt rf_own.txt"));
    own.Remove();
    EXPECT_EQ(Contents("rf_own.txt"), "other");

    ASSERT_TRUE(RunOutside("rm -f rf_own.txt"));
    ASSERT_EQ(own.Begin("rf_own.txt"), CResultsFile::Start::Ok);
    ASSERT_TRUE(RunOutside("printf 'kept' >rf_kept.txt && ln -sf rf_kept.txt rf_own.txt"));
    own.Remove();
    EXPECT_TRUE(RunOutside("test -L rf_own.txt"));
    EXPECT_EQ(Contents("rf_kept.txt"), "kept");
}
