// zanfor-cli strings' own character options, which the page has not: each draws from what it
// says, a setting that leaves nothing to draw is refused naming the option in either language,
// and --verbose's entropy is the figure counted by hand.
#include "CliHarness.h"

#include <gtest/gtest.h>

#include <set>

namespace {

// The characters of UTF-8 text, each as its bytes.
std::set<std::string> Characters(const std::string& utf8)
{
    std::set<std::string> characters;
    for (std::size_t at = 0; at < utf8.size();) {
        const auto lead = static_cast<unsigned char>(utf8[at]);
        const std::size_t size = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
        characters.insert(utf8.substr(at, size));
        at += size;
    }
    return characters;
}

std::set<std::string> Range(char first, char last)
{
    std::set<std::string> range;
    for (char c = first; c <= last; ++c)
        range.insert(std::string(1, c));
    return range;
}

std::set<std::string> Joined(std::initializer_list<std::set<std::string>> sets)
{
    std::set<std::string> joined;
    for (const auto& set : sets)
        joined.insert(set.begin(), set.end());
    return joined;
}

} // namespace

TEST(CliCharacters, EachOptionDrawsFromWhatItSays)
{
    const std::set<std::string> upper = Range('A', 'Z'), lower = Range('a', 'z'),
                                digits = Range('0', '9'),
                                symbols = Characters("!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~");
    std::set<std::string> clear = Joined({upper, lower, digits});
    for (const char* alike : {"0", "O", "o", "1", "l", "I"})
        clear.erase(alike);
    const struct {
        std::vector<std::string> args;
        std::set<std::string> drawn; // every character drawn, and each of them comes up
    } cases[] = {
        {{"--symbols"}, Joined({upper, lower, symbols})}, // added to the page's default classes
        {{"--digits", "--symbols"}, Joined({digits, symbols})},
        {{"--charset", "xy\xE4\xB8\xAD"}, Characters("xy\xE4\xB8\xAD")}, // an own set stands alone
        {{"--upper", "--charset", "#"}, Joined({upper, {"#"}})},
        {{"--digits", "--exclude", "13579"}, Characters("02468")},
        {{"--upper", "--lower", "--digits", "--no-ambiguous"}, clear},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"strings", "--length", "20", "-n", "400", "--lf"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = RunInProcess(args);
        SCOPED_TRACE(c.args.back());
        ASSERT_EQ(run.status, EXIT_DONE) << run.err;
        std::string all;
        for (const std::string& line : Lines(run.out, "\n"))
            all += line;
        // 8000 characters: each of at most 94 comes up but for a chance below e^-80.
        EXPECT_EQ(Characters(all), c.drawn);
    }

    // --require-each: every string holds every chosen class, Chinese characters and symbols too.
    const CliRun each = RunInProcess({"strings", "--require-each", "--symbols", "--hanzi",
                                      "--length", "2", "-n", "200", "--lf"});
    ASSERT_EQ(each.status, EXIT_DONE) << each.err;
    for (const std::string& line : Lines(each.out, "\n")) {
        const std::set<std::string> characters = Characters(line);
        ASSERT_EQ(characters.size(), 2u) << line;
        EXPECT_EQ(symbols.count(*characters.begin()), 1u) << line; // ASCII sorts first
        EXPECT_EQ(characters.rbegin()->size(), 3u) << line;
    }
}

TEST(CliCharacters, ASettingThatLeavesNothingToDrawIsRefusedByItsOption)
{
    const std::string emoji = "\xF0\x9F\x98\x80";
    const struct {
        std::vector<std::string> args;
        std::string english;
        const char8_t* chinese;
    } cases[] = {
        {{"--charset", "a\tb"},
         "invalid --charset (--charset a\tb: holds a line break or another control character)",
         u8"--charset 设定无效！（--charset a\tb：含有换行符或其他控制字符）"},
        // Beyond GBK only where the output is GBK.
        {{"--charset", emoji, "--encoding", "gbk"},
         "invalid --charset (--charset " + emoji + ": GBK cannot spell \"" + emoji +
             "\" (U+1F600))",
         u8"--charset 设定无效！（--charset 😀：GBK 无法表示“😀”（U+1F600））"},
        {{"--exclude", emoji, "--encoding", "gbk"},
         "invalid --exclude (--exclude " + emoji + ": GBK cannot spell \"" + emoji +
             "\" (U+1F600))",
         u8"--exclude 设定无效！（--exclude 😀：GBK 无法表示“😀”（U+1F600））"},
        {{"--digits", "--exclude", "0123456789"},
         "invalid --exclude (--exclude 0123456789: no character is left to draw from)",
         u8"--exclude 设定无效！（--exclude 0123456789：排除之后没有可抽取的字符）"},
        {{"--require-each", "--digits", "--upper", "--exclude", "0123456789"},
         "invalid --require-each (--require-each --digits --exclude 0123456789: --digits has no "
         "character left to draw)",
         u8"--require-each 设定无效！（--require-each --digits --exclude 0123456789：--digits "
         u8"已没有可抽取的字符）"},
        // Not longer than anything: the bodies are shorter than the classes required.
        {{"--require-each", "--digits", "--upper", "--hanzi", "--min-length", "1", "--max-length",
          "2"},
         "invalid --require-each (--require-each --min-length 1 --max-length 2: a body of at most "
         "2 characters cannot hold all 3 chosen classes)",
         u8"--require-each 设定无效！（--require-each --min-length 1 --max-length "
         u8"2：随机部分最多只有 2 个字符，容不下所选的全部 3 类字符）"},
        {{"--require-each", "--length", "1"},
         "invalid --require-each (--require-each --length 1: a body of at most 1 characters "
         "cannot hold all 2 chosen classes)",
         u8"--require-each 设定无效！（--require-each --length 1：随机部分最多只有 1 "
         u8"个字符，容不下所选的全部 2 类字符）"},
        {{"--require-each", "--upper", "--lower", "--digits", "--symbols", "--hanzi", "--charset",
          "X", "--length", "6"},
         "invalid --require-each (--require-each --length 6: only about one string in ",
         u8"--require-each 设定无效！（--require-each --length 6：大约 "},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"strings"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        SCOPED_TRACE(c.english);
        const CliRun english = RunInProcess(args, Language::English);
        EXPECT_EQ(english.status, EXIT_REFUSED);
        EXPECT_EQ(english.out, "");
        EXPECT_EQ(english.err.substr(0, c.english.size()), c.english);
        const CliRun chinese = RunInProcess(args, Language::Chinese);
        EXPECT_EQ(chinese.err.substr(0, Utf8Text(c.chinese).size()), Utf8Text(c.chinese));
    }
}

TEST(CliCharacters, TheEntropyIsTheCountByHand)
{
    const struct {
        std::vector<std::string> args;
        const char* bits;
    } cases[] = {
        {{"--digits", "--length", "3"}, "10.0"},                         // log2 1000 = 9.97
        {{"--lower", "--length", "4"}, "18.8"},                          // 4 log2 26 = 18.80
        {{"--digits", "--min-length", "1", "--max-length", "2"}, "6.0"}, // 1 + 1.5 log2 10 = 5.98
        // Of the 36^2 bodies the 2 * 26 * 10 with a letter and a digit, equally likely: 9.02.
        {{"--upper", "--digits", "--require-each", "--length", "2"}, "9.0"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"strings", "--verbose", "-n", "1"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = RunInProcess(args, Language::English);
        EXPECT_EQ(run.err, "seed: none, the system's secure random source\nentropy: " +
                               std::string(c.bits) + " bits per string\n");
    }
}
