#pragma once
// The characters a string's body is drawn from by exact draws: the union of the chosen classes and
// the user's own characters, less the excluded ones, every character equally likely whatever its
// class. (The pages' classic draws take a class first and then a character of it.)

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The classes a character can belong to; --require-each wants every chosen one in every string.
enum : std::uint8_t {
    CLASS_UPPER = 1,
    CLASS_LOWER = 2,
    CLASS_DIGIT = 4,
    CLASS_SYMBOL = 8,
    CLASS_HANZI = 16,
    CLASS_CHARSET = 32, // the characters of --charset, as one class
};

// --symbols: the punctuation of ASCII.
constexpr std::string_view SYMBOL_CHARACTERS = "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~";
// --no-ambiguous leaves out what looks alike in many fonts.
constexpr std::string_view AMBIGUOUS_CHARACTERS = "0Oo1lI|";

constexpr std::uint32_t BEYOND_GBK_CODE = 0x10000;

struct AlphabetChoice {
    std::uint8_t classes = 0; // CLASS_UPPER .. CLASS_HANZI, and CLASS_CHARSET with --charset
    std::string charset;      // GBK, characters beyond it in their four-byte form
    std::string exclude;      // likewise
    bool noAmbiguous = false;
    bool requireEach = false;
};

struct Alphabet {
    // Codes in ascending order: below 0x100 one byte, below 0x10000 lead byte * 256 + trail byte,
    // else BEYOND_GBK_CODE + the code point of a character GBK cannot spell (core/ExtendedGbk.h).
    std::vector<std::uint32_t> codes;
    std::vector<std::uint8_t> classes; // of each code, the classes it belongs to
    std::uint8_t required = 0;         // the classes every body must hold (--require-each)
    bool SingleBytes() const { return codes.empty() || codes.back() < 0x100; }
    bool HasSingleBytes() const { return !codes.empty() && codes.front() < 0x100; }
    // The most bytes a character takes: 1, 2 or 4.
    int WidestBytes() const { return SingleBytes() ? 1 : codes.back() < BEYOND_GBK_CODE ? 2 : 4; }
};

enum class AlphabetProblem {
    None,
    ControlCharacter, // --charset holds a line break or another control character
    Empty,            // nothing is left to draw from
    ClassEmptied,     // --require-each: a chosen class lost all its characters
};

// problemClass: with ClassEmptied, the class.
AlphabetProblem BuildAlphabet(const AlphabetChoice& choice, Alphabet& alphabet,
                              std::uint8_t& problemClass);

// GBK text (with the four-byte form of core/ExtendedGbk.h) cut into characters: a lead byte with
// its trail byte is one, a whole four-byte form is one, any other byte stands alone. Codes as in
// Alphabet.
std::vector<std::uint32_t> GbkCharacters(std::string_view gbk);
// Appends the character of the code.
void AppendCode(std::string& out, std::uint32_t code);

// Below this share of acceptable bodies a string would cost a million draws: refused.
constexpr double MIN_ACCEPTANCE = 1e-6;

// What bodies of a length drawn uniformly from lenMin to lenMax (0 or less: empty) hold, when
// those that lack a required class are drawn again.
struct BodyOdds {
    std::uint64_t distinct = 0; // different bodies, saturating at DISTINCT_MANY
    double acceptance = 0;      // the share of drawn bodies that hold every required class
    double entropyBits = 0;     // of one body
    double minEntropyBits = 0;  // of the likeliest body (core/Entropy.h)
};
BodyOdds OddsOf(const Alphabet& alphabet, int lenMin, int lenMax);
