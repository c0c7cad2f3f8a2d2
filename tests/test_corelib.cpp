#include "corelib/Core.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string TempPath(const char* name)
{
    return (testing::TempDir() + name);
}

} // namespace

TEST(CoreLibrary, FieldsCutAtEverySeparator)
{
    CCore core(1u);
    EXPECT_EQ(core.getFg("5|-|2|_", '|', 0), "5");
    EXPECT_EQ(core.getFg("5|-|2|_", '|', 3), "_");
    EXPECT_EQ(core.getFg("5|-|2|_", '|', 4), "");
    EXPECT_EQ(core.getFg("5|-|2|_", '|', 1000), "");
    EXPECT_EQ(core.getFg("a||b", '|', 1), "");
    EXPECT_EQ(core.getFg("a||b", '|', 2), "b");
    EXPECT_EQ(core.getFg("|a|", '|', 0), "");
    EXPECT_EQ(core.getFg("|a|", '|', 1), "a");
    EXPECT_EQ(core.getFg("|a|", '|', 2), "");
    EXPECT_EQ(core.getFg("", '|', 0), "");
    EXPECT_EQ(core.getFg("no separator", '|', 0), "no separator");
    EXPECT_EQ(core.getFg("\xD6\xD0|\xCE\xC4", '|', 1), "\xCE\xC4"); // GBK bytes pass untouched
}

TEST(CoreLibrary, RandIntIsUniformOverEveryValue)
{
    CCore core(3u);
    for (int hi : {55, 94, 89}) {
        const int lo = hi == 55 ? 16 : 1;
        std::vector<int> counts(static_cast<std::size_t>(hi + 1));
        const int draws = 2000 * (hi - lo + 1);
        for (int i = 0; i < draws; ++i) {
            const int v = core.getRandInt(lo, hi);
            ASSERT_GE(v, lo);
            ASSERT_LE(v, hi);
            ++counts[static_cast<std::size_t>(v)];
        }
        for (int v = lo; v <= hi; ++v)
            EXPECT_NEAR(counts[static_cast<std::size_t>(v)], 2000, 250) << v;
    }
    EXPECT_EQ(core.getRandInt(7, 7), 7);
    EXPECT_EQ(core.getRandInt(9, 2), 9);
}

TEST(CoreLibrary, LogAddAppendsRecordsInOrderAndCreatesTheFile)
{
    const std::string path = TempPath("zanfor_log_test_out.txt");
    std::remove(path.c_str());
    CCore core(1u);
    std::string expected;
    for (int i = 0; i < 2500; ++i) {
        const CString text = CString("record ") + CString::FromInt(i) + " \xD6\xD0";
        core.logAdd(path.c_str(), text, 0);
        expected += text.Str() + "\r\n";
    }
    ASSERT_TRUE(core.logClose());
    EXPECT_EQ(ReadAll(path), expected);

    // Later records append to what is there; an empty text is a record of its own.
    core.logAdd(path.c_str(), "", 0);
    core.logAdd(path.c_str(), "last", 0);
    ASSERT_TRUE(core.logClose());
    EXPECT_EQ(ReadAll(path), expected + "\r\nlast\r\n");
    std::remove(path.c_str());
}

TEST(CoreLibrary, LogAddToAnotherFileFinishesTheFirst)
{
    const std::string a = TempPath("zanfor_log_a.txt"), b = TempPath("zanfor_log_b.txt");
    std::remove(a.c_str());
    std::remove(b.c_str());
    {
        CCore core(1u);
        core.logAdd(a.c_str(), "one", 0);
        core.logAdd(b.c_str(), "two", 0);
        EXPECT_EQ(ReadAll(a), "one\r\n");
    } // the destructor writes out the rest
    EXPECT_EQ(ReadAll(b), "two\r\n");
    std::remove(a.c_str());
    std::remove(b.c_str());
}

TEST(CoreLibrary, AFileThatCannotBeWrittenIsReported)
{
    CCore core(1u);
    const std::string missingFolder = TempPath("zanfor_no_such_folder/sub/out.txt");
    core.logAdd(missingFolder.c_str(), "x", 0);
    core.logAdd(missingFolder.c_str(), "y", 0);
    EXPECT_FALSE(core.logClose());
    EXPECT_TRUE(core.logClose()); // nothing open any more, nothing failed since
}

TEST(CoreLibrary, AppPathFallsBackToTheUserDataFolderWhenTheProgramFolderIsReadOnly)
{
    std::vector<std::string> probed;
    auto writable = [&](const CString& p) {
        probed.push_back(p.Str());
        return true;
    };
    auto readOnly = [&](const CString& p) {
        probed.push_back(p.Str());
        return false;
    };
    auto userFolder = [] { return CString("C:\\Users\\u\\AppData\\Local\\Zanfor\\"); };
    EXPECT_EQ(AppPathFor("C:\\Tools\\Zanfor.exe", writable, userFolder), "C:\\Tools\\Zanfor");
    EXPECT_EQ(probed, std::vector<std::string>{"C:\\Tools\\Zanfor"});
    EXPECT_EQ(AppPathFor("C:\\Program Files\\Z.v2\\Zanfor.exe", readOnly, userFolder),
              "C:\\Users\\u\\AppData\\Local\\Zanfor\\Zanfor");
    // A dot in a folder name is not an extension; a program without one keeps its whole name.
    EXPECT_EQ(AppPathFor("/opt/z.d/zanfor", writable, userFolder), "/opt/z.d/zanfor");
    // A program that cannot be named still gets a file in the user's folder.
    EXPECT_EQ(AppPathFor("", writable, userFolder), "C:\\Users\\u\\AppData\\Local\\Zanfor\\Zanfor");
}

TEST(CoreLibrary, AppPathNamesAWritableLocation)
{
    CCore core(1u);
    const CString base = core.getAppPath();
    ASSERT_FALSE(base.IsEmpty());
    EXPECT_EQ(base.View().find(".exe"), std::string_view::npos);
    const CString file = base + "_out.txt";
    std::remove(file.GetString());
    core.logAdd(file, "probe", 0);
    ASSERT_TRUE(core.logClose());
    EXPECT_EQ(ReadAll(file.Str()), "probe\r\n");
    EXPECT_EQ(std::remove(file.GetString()), 0);
}
