// zanfor-cli strings' own character options, which the page has not: each draws from what it
// says, a setting that leaves nothing to draw is refused naming the option in either language,
// and --verbose's entropy is the figure counted by hand.
#include "CliHarness.h"

#include <gtest/gtest.h>

#include <cctype>
#include <regex>
#include <set>
#include <string_view>

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
         "invalid --require-each (--require-each --length 1: a body of at most 1 character "
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
    // The Shannon entropy, then the min-entropy: -log2 of the likeliest string's chance.
    const struct {
        std::vector<std::string> args;
        const char *bits, *least;
    } cases[] = {
        {{"--digits", "--length", "3"}, "10.0", "10.0"}, // log2 1000 = 9.97
        {{"--lower", "--length", "4"}, "18.8", "18.8"},  // 4 log2 26 = 18.80
        // 1 + 1.5 log2 10 = 5.98; a digit alone comes out 1 time in 20: 4.32.
        {{"--digits", "--min-length", "1", "--max-length", "2"}, "6.0", "4.3"},
        // Of the 36^2 bodies the 2 * 26 * 10 with a letter and a digit, equally likely: 9.02.
        {{"--upper", "--digits", "--require-each", "--length", "2"}, "9.0", "9.0"},
        // Lengths 2 and 3: 520 of the 1296 bodies of 2 are kept, 28080 of the 46656 of 3, so
        // the kept ones are of 2 letters 4 times in 10 (520/1296 against 28080/46656) and each
        // of them comes out with the chance 0.4 / 520: 10.34 bits. On average 0.97 for the
        // length, 0.4 log2 520 + 0.6 log2 28080 for the letters: 13.45.
        {{"--upper", "--digits", "--require-each", "--min-length", "2", "--max-length", "3"},
         "13.4",
         "10.3"},
    };
    for (const auto& c : cases) {
        std::vector<std::string> args{"strings", "--verbose", "-n", "1"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const CliRun run = RunInProcess(args, Language::English);
        EXPECT_EQ(run.err, "seed: none, the secure random source\nentropy: " + std::string(c.bits) +
                               " bits per string, min-entropy " + c.least +
                               " bits (the likeliest string)\n");
    }
}

TEST(CliCharacters, PronounceableStringsKeepTheirShapeAndRefuseWhatTheyCannotHonour)
{
    const int n = 2000;
    const CliRun run =
        RunInProcess({"strings", "--pronounceable", "--upper", "--lower", "--digits",
                      "--require-each", "--length", "14", "-n", std::to_string(n), "--verbose"},
                     Language::English);
    ASSERT_EQ(run.status, EXIT_DONE) << run.err;
    const std::vector<std::string> lines = Lines(run.out);
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(n));
    for (const std::string& s : lines) {
        ASSERT_EQ(s.size(), 14u) << s;
        int consonants = 0;
        bool upper = false, lower = false, digit = false;
        for (const char c : s) {
            upper = upper || (c >= 'A' && c <= 'Z');
            lower = lower || (c >= 'a' && c <= 'z');
            digit = digit || (c >= '0' && c <= '9');
            const bool vowel = std::string_view("aeiouAEIOU").find(c) != std::string_view::npos;
            consonants = std::isalpha(static_cast<unsigned char>(c)) && !vowel ? consonants + 1 : 0;
            EXPECT_LE(consonants, 3) << s;
        }
        EXPECT_TRUE(upper && lower && digit) << s;
    }
    // One length, every string equally likely: both figures are the same.
    EXPECT_TRUE(std::regex_search(
        run.err, std::regex(R"(entropy: (\d+\.\d) bits per string, min-entropy \1 bits)")))
        << run.err;

    // What it cannot honour is refused by name, in both languages, before anything is written.
    for (const char* option : {"--symbols", "--hanzi", "--no-ambiguous"}) {
        const CliRun english =
            RunInProcess({"strings", "--pronounceable", option}, Language::English);
        EXPECT_EQ(english.status, EXIT_REFUSED);
        EXPECT_EQ(english.out, "");
        EXPECT_EQ(english.err.substr(0, english.err.find('\n')),
                  std::string("--pronounceable cannot be combined with ") + option +
                      ": pronounceable strings are made of letters (--upper, --lower) and "
                      "digits (--digits) only");
        const CliRun chinese =
            RunInProcess({"strings", "--pronounceable", option}, Language::Chinese);
        EXPECT_EQ(
            chinese.err.substr(0, chinese.err.find('\n')),
            Utf8Text(u8"--pronounceable 不能与 ") + option +
                Utf8Text(
                    u8" 同用：读得出的字符串只由字母（--upper、--lower）和数字（--digits）组成"));
    }
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--charset", "abc"},
          {"--exclude", "x"},
          {"--length", "65"},
          {"--digits", "--upper", "--require-each", "--length", "1"}}) {
        std::vector<std::string> all{"strings", "--pronounceable"};
        all.insert(all.end(), args.begin(), args.end());
        const CliRun refused = RunInProcess(all, Language::English);
        EXPECT_EQ(refused.status, EXIT_REFUSED) << args[0];
        EXPECT_NE(refused.err.find(
                      args[0] == "--length" || args[0] == "--digits" ? "--pronounceable" : args[0]),
                  std::string::npos)
            << refused.err;
    }
}
