// Pronounceable strings: their shape (no run of more than three consonants, a vowel in every word,
// the length exact, the chosen classes present), their number against an enumeration of every
// string of the length, and their uniformity by a chi-square over a fixed count of draws from
// counter-made bits (the same sample every run; no time involved).
#include "core/Pronounceable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <cstring>
#include <map>
#include <string>

namespace {

std::uint64_t g_state;
void CountingFill(void* buffer, std::size_t n)
{
    for (std::size_t i = 0; i < n; i += 8) {
        std::uint64_t word = (g_state += 0x9E3779B97F4A7C15u);
        word = (word ^ (word >> 30)) * 0xBF58476D1CE4E5B9u;
        word = (word ^ (word >> 27)) * 0x94D049BB133111EBu;
        word ^= word >> 31;
        std::memcpy(static_cast<char*>(buffer) + i, &word, std::min<std::size_t>(8, n - i));
    }
}

bool IsVowel(char c)
{
    return std::strchr("aeiou", std::tolower(static_cast<unsigned char>(c))) != nullptr;
}

// What the rules promise, checked apart from them: the longest run of consonants, and whether
// every word (letters between digits) holds a vowel.
int LongestConsonantRun(const std::string& s)
{
    int run = 0, longest = 0;
    for (const char c : s) {
        run = std::isalpha(static_cast<unsigned char>(c)) && !IsVowel(c) ? run + 1 : 0;
        longest = std::max(longest, run);
    }
    return longest;
}

bool EveryWordHasAVowel(const std::string& s)
{
    bool letters = false, vowel = false;
    for (const char c : s + '0') {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            if (letters && !vowel)
                return false;
            letters = vowel = false;
        } else {
            letters = true;
            vowel = vowel || IsVowel(c);
        }
    }
    return true;
}

// Every string of length over the symbols, in turn.
template <class Visit> void EveryString(const std::string& symbols, int length, Visit visit)
{
    std::string s(static_cast<std::size_t>(length), symbols[0]);
    std::vector<std::size_t> digit(static_cast<std::size_t>(length), 0);
    for (;;) {
        visit(s);
        std::size_t i = 0;
        for (; i < digit.size() && ++digit[i] == symbols.size(); ++i) {
            digit[i] = 0;
            s[i] = symbols[0];
        }
        if (i == digit.size())
            return;
        s[i] = symbols[digit[i]];
    }
}

} // namespace

TEST(Pronounceable, EveryStringKeepsItsShapeAndHoldsTheChosenClasses)
{
    g_state = 1;
    UniformSource source(&CountingFill);
    const struct {
        PronounceableChoice choice;
        const char* allowed;
    } cases[] = {
        {{.lenMin = 1, .lenMax = 40}, "abcdefghijklmnoprstuvwxyz"},
        {{.upper = true, .lenMin = 3, .lenMax = 9}, "ABCDEFGHIJKLMNOPRSTUVWXYZ"},
        {{.upper = true,
          .lower = true,
          .digits = true,
          .requireEach = true,
          .lenMin = 12,
          .lenMax = 12},
         "abcdefghijklmnoprstuvwxyzABCDEFGHIJKLMNOPRSTUVWXYZ0123456789"},
        {{.digits = true, .requireEach = true, .lenMin = 2, .lenMax = 64},
         "abcdefghijklmnoprstuvwxyz0123456789"},
    };
    for (const auto& c : cases) {
        const Pronounceable scheme(c.choice);
        ASSERT_FALSE(scheme.Empty());
        for (int i = 0; i < 3000; ++i) {
            std::string s;
            scheme.Append(s, source);
            SCOPED_TRACE(s);
            ASSERT_GE(static_cast<int>(s.size()), c.choice.lenMin);
            ASSERT_LE(static_cast<int>(s.size()), c.choice.lenMax);
            EXPECT_EQ(s.find_first_not_of(c.allowed), std::string::npos);
            EXPECT_LE(LongestConsonantRun(s), 3);
            EXPECT_TRUE(EveryWordHasAVowel(s));
            EXPECT_EQ(s.find("000"), std::string::npos); // digits at most two in a row
            if (c.choice.requireEach) {
                const auto has = [&](int (*is)(int)) {
                    return std::any_of(s.begin(), s.end(),
                                       [&](char ch) { return is(static_cast<unsigned char>(ch)); });
                };
                EXPECT_EQ(has(std::islower), c.choice.lower || !c.choice.upper);
                EXPECT_EQ(has(std::isupper), c.choice.upper);
                EXPECT_TRUE(has(std::isdigit));
            }
            EXPECT_TRUE(scheme.Accepts(s));
        }
    }
    // A scheme that no string of its lengths can satisfy.
    EXPECT_TRUE(Pronounceable({.upper = true,
                               .lower = true,
                               .digits = true,
                               .requireEach = true,
                               .lenMin = 1,
                               .lenMax = 2})
                    .Empty());
}

TEST(Pronounceable, TheCountsAndTheEntropyAreThoseOfEveryStringEnumerated)
{
    // Every string of up to 3 small letters, and of 2 over small, capital letters and digits,
    // against the rules one by one: the counts are exact, and so is the entropy of a length
    // drawn uniformly and then one of its strings.
    const Pronounceable small({.lenMin = 1, .lenMax = 3});
    std::map<int, std::uint64_t> found;
    for (int length = 1; length <= 3; ++length)
        EveryString("abcdefghijklmnopqrstuvwxyz", length,
                    [&](const std::string& s) { found[length] += small.Accepts(s); });
    for (int length = 1; length <= 3; ++length)
        EXPECT_EQ(small.CountOf(length), found[length]) << length;
    EXPECT_EQ(small.Distinct(), found[1] + found[2] + found[3]);
    const double n1 = std::log2(static_cast<double>(found[1])),
                 n2 = std::log2(static_cast<double>(found[2])),
                 n3 = std::log2(static_cast<double>(found[3]));
    EXPECT_NEAR(small.EntropyBits(), std::log2(3.0) + (n1 + n2 + n3) / 3, 1e-9);
    EXPECT_NEAR(small.MinEntropyBits(), std::log2(3.0) + std::min({n1, n2, n3}), 1e-9);
    EXPECT_GT(found[3], 1000u); // the rules leave plenty

    const Pronounceable mixed(
        {.upper = true, .lower = true, .digits = true, .lenMin = 2, .lenMax = 2});
    std::uint64_t pairs = 0;
    EveryString("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789", 2,
                [&](const std::string& s) { pairs += mixed.Accepts(s); });
    EXPECT_EQ(mixed.CountOf(2), pairs);
}

TEST(Pronounceable, EveryStringOfALengthIsEquallyLikelyAndEveryLengthToo)
{
    // Lengths 2 and 3 of small letters: a length one time in two, then one of its strings.
    g_state = 7;
    UniformSource source(&CountingFill);
    const Pronounceable scheme({.lenMin = 2, .lenMax = 3});
    const double count2 = static_cast<double>(scheme.CountOf(2)),
                 count3 = static_cast<double>(scheme.CountOf(3));
    const int draws = 400000;
    std::map<std::string, double> seen;
    for (int i = 0; i < draws; ++i) {
        std::string s;
        scheme.Append(s, source);
        ++seen[s];
    }
    double chi = 0, categories = 0;
    for (int length = 2; length <= 3; ++length)
        EveryString("abcdefghijklmnopqrstuvwxyz", length, [&](const std::string& s) {
            if (!scheme.Accepts(s))
                return;
            const double expected = draws * 0.5 / (length == 2 ? count2 : count3);
            const auto it = seen.find(s);
            const double o = it == seen.end() ? 0 : it->second;
            chi += (o - expected) * (o - expected) / expected;
            ++categories;
            seen.erase(s);
        });
    EXPECT_TRUE(seen.empty()) << "a string outside the rules: " << seen.begin()->first;
    // The quantile of p = 1e-9 by the Wilson-Hilferty approximation: z = 6.0.
    const double k = categories - 1;
    const double bound = k * std::pow(1 - 2 / (9 * k) + 6.0 * std::sqrt(2 / (9 * k)), 3);
    EXPECT_LT(chi, bound) << categories << " strings";
}
