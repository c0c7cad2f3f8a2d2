#pragma once
// Pronounceable strings: letters in speakable groups, drawn exactly. The scheme is a set of rules
// on a string (below); every string of a length that keeps them is equally likely, so the entropy
// is counted, not estimated: the strings of each length are counted once (exactly, in integers
// wider than any count), a length is drawn uniformly among those that have strings, then the
// string is found by its number, drawn uniformly below that length's count.
//
// The rules, on words: a word is a run of letters between digits or the string's ends.
// - Vowels are a e i o u; the other letters but q are consonants (q wants a u after it).
// - Two vowels in a row only as one of the common pairs (ai, ea, ou, ...); never three.
// - A word holds a vowel. Its first consonants are an onset (any one consonant, or bl, str, ...);
//   its last ones a coda (one consonant but h j q v, or nd, st, nch, ...); consonants between two
//   vowels a coda and an onset, together at most three. So no run of more than three consonants.
// - Digits (--digits) stand between words or at either end, at most two in a row.
// - Capitals (--upper) and small letters (--lower, the default) are the same letter to the rules;
//   with both, each letter is either. Digits and capitals count in the length like any character.

#include "UniformSource.h"
#include "Wording.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

constexpr int PRONOUNCEABLE_MAX_LENGTH = 64;

constexpr Wording MSG_PRONOUNCEABLE_LETTERS{
    "读得出的字符串只由字母（--upper、--lower）和数字（--digits）组成",
    "pronounceable strings are made of letters (--upper, --lower) and digits (--digits) only"};
constexpr Wording MSG_PRONOUNCEABLE_LENGTH{
    "--pronounceable 的长度须在 1 到 64 个字符之间！",
    "--pronounceable makes strings of 1 to 64 characters: set --length or the length bounds "
    "within them"};
constexpr Wording MSG_PRONOUNCEABLE_NONE{
    "--pronounceable --require-each：这些长度内没有同时含有所选各类字符的读得出的字符串！",
    "--pronounceable --require-each: no pronounceable string of these lengths holds every chosen "
    "class"};

struct PronounceableChoice {
    bool upper = false, lower = false; // neither: small letters
    bool digits = false;
    bool requireEach = false; // every string holds each chosen kind: small, capital, digit
    int lenMin = 1, lenMax = 1;
};

class Pronounceable;
struct Alphabet;
struct BodyOdds;
// Checks choice's lengths and builds its scheme into made, with what its strings hold: odds (their
// number and entropy) and letters (the characters they draw from, every one a single byte). The
// refusal's words, or none.
Wording MakePronounceable(const PronounceableChoice& choice,
                          std::shared_ptr<const Pronounceable>& made, BodyOdds& odds,
                          Alphabet& letters);

class Pronounceable {
public:
    // lenMin 1 to lenMax, lenMax at most PRONOUNCEABLE_MAX_LENGTH.
    explicit Pronounceable(const PronounceableChoice& choice);

    // No length has a string (--require-each asks too much of short ones).
    bool Empty() const { return m_lengths.empty(); }
    // Appends one string: the length uniform over those that have strings, then the string
    // uniform over that length's.
    void Append(std::string& out, UniformSource& source) const;

    // Of the strings as drawn: the average and the likeliest string's -log2 of its chance.
    double EntropyBits() const;
    double MinEntropyBits() const;
    // Different strings, saturating at DISTINCT_MANY.
    std::uint64_t Distinct() const;
    // How many strings of length keep the rules and the chosen classes (saturating).
    std::uint64_t CountOf(int length) const;
    // Whether text keeps the rules and holds the chosen classes (any length).
    bool Accepts(std::string_view text) const;

private:
    // Counts of strings: 6 limbs of 64 bits hold 62^64, the most a string of 64 can be.
    using Count = std::array<std::uint64_t, 6>;
    struct Step {
        char symbol;
        std::uint32_t next;
    };
    const Count& CountFrom(std::uint32_t state, int remaining) const
    {
        return m_count[static_cast<std::size_t>(remaining) * m_accepting.size() + state];
    }

    std::vector<std::vector<Step>> m_steps; // by state; state 0 is the empty string
    std::vector<bool> m_accepting;
    std::vector<Count> m_count; // by remaining length, then state
    std::vector<int> m_lengths; // the lengths that have strings
};
