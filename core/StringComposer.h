#pragma once
// One random string: a body of random characters, a fixed head and tail, then texts inserted at
// byte positions. One maker, two kinds of draws for the body: the strings page's classic ones (a
// chosen class, then a character of it, from the 15-bit source) and exact ones (every character
// of an alphabet equally likely, from a uniform 64-bit source).

#include "Alphabet.h"
#include "CString.h"
#include "ComposerSources.h"
#include "Pronounceable.h"
#include "Random.h"
#include "Types.h"
#include "UniformSource.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct StringOptions {
    BOOL m_bUpper = 0;     // class 1: 'A'..'Z'
    BOOL m_bLower = 0;     // class 2: 'a'..'z'
    BOOL m_bDigit = 0;     // class 3: '0'..'9'
    BOOL m_bHanzi = 0;     // class 4: a GB2312 level-1 Chinese character, two bytes
    CString m_strHead{};   // put before the body when not empty
    CString m_strTail{};   // put after the body when not empty
    CString m_strInsert{}; // "pos|text|pos|text..." with positions from the largest to the smallest
    int m_nLenMin = 0;     // body length in characters; may be zero or negative
    int m_nLenMax = 0;
};

// The insertion spec read once: its pairs in order, each position as atoi reads it.
struct InsertPlan {
    struct Pair {
        int position;
        CString text;
    };
    std::vector<Pair> pairs;

    // Whether a string of length bytes (before any insertion) takes the pair at position, the
    // pairs taken in order: a position past the length is skipped, and so is one that is not
    // below the last position taken, unless that was 0 (0 also means that nothing has been taken
    // yet). last moves on to a position taken.
    static bool Takes(int position, long long length, int& last)
    {
        if (position > length || (last != 0 && position >= last))
            return false;
        last = position;
        return true;
    }
};
InsertPlan ReadInsertPlan(const CString& spec, const ComposerSources& sources);
// Makes the insertions of plan in s, as ApplyInserts describes.
void ApplyInsertPlan(const InsertPlan& plan, std::string& s);

// An insertion pair that no string of a batch takes.
struct SkippedInsert {
    std::string position, text; // the pair's fields as typed (GBK)
    int value = 0;              // the position as the page reads it
    bool pastTheEnd = false;    // else: not below an earlier position
    bool notANumber = false;    // the position is not wholly a number: it reads as 0
    long long longest = 0;      // bytes of the longest string before its insertions
};

// Makes the strings of one batch: the settings and the insertion spec are read once.
class StringComposer {
public:
    // The body's classic draws from opt's classes.
    StringComposer(const StringOptions& opt, const ComposerSources& sources);
    // Also exact draws from alphabet (opt's class flags are then only the classic draws').
    StringComposer(const StringOptions& opt, const Alphabet& alphabet,
                   const ComposerSources& sources);

    // Appends one string, its body drawn as the strings page draws it.
    void Append(std::string& out, RandomSource& rng);
    // Appends one string, its body drawn exactly: its length uniform from the shortest to the
    // longest, every character uniform over the alphabet, and a body that lacks a required class
    // drawn again whole (so that no character is favoured).
    void Append(std::string& out, UniformSource& source);
    // From now on the exact draws make spoken's strings for bodies (none: the alphabet's).
    void Speak(const Pronounceable* spoken) { m_spoken = spoken; }
    // With one body length (at least 1) and no required class: the string whose body is number
    // index of the letters^length bodies, for a shuffle.
    void AppendNumbered(std::string& out, std::uint64_t index);

    // The insertion pairs that no string of the batch takes, with its classic or its exact draws.
    std::vector<SkippedInsert> SkippedInserts(bool exact) const;

private:
    template <class Body> void Frame(std::string& out, Body body);
    void ClassicBody(std::string& s, RandomSource& rng);
    void ExactBody(std::string& s, UniformSource& source);

    StringOptions m_opt;
    ComposerSources m_sources;
    InsertPlan m_plan;
    bool m_chosen[5];      // by class, 1 to 4
    std::string m_scratch; // a string with insertions is built here first
    Alphabet m_alphabet;
    // The alphabet as bytes, when every character is a single byte.
    std::optional<CharacterTable> m_bytes;
    const Pronounceable* m_spoken = nullptr;
    // Characters drawn ahead from m_drawnFrom, from m_drawnAt on, for bodies of one length.
    static constexpr std::size_t DRAWN_AHEAD = 4096;
    std::string m_drawn;
    std::size_t m_drawnAt = 0;
    const UniformSource* m_drawnFrom = nullptr;
};

// A character of classes 1 to 3, when those are all that is chosen: the class is drawn until a
// chosen one comes up (chosen[class]), then the character.
inline char RandomSingleByte(const bool (&chosen)[5], RandomSource& rng)
{
    for (;;) {
        const int cls = rng.Between(1, 4);
        if (!chosen[cls])
            continue;
        if (cls == 3)
            return static_cast<char>(rng.Between('0', '9'));
        return static_cast<char>(cls == 1 ? rng.Between('A', 'Z') : rng.Between('a', 'z'));
    }
}

// The most bytes one string of these settings can take: head, tail, every insertion text and the
// longest body. The classic draws reach the upper length bound only as far as ClassicTop allows;
// exact ones (reachesUpperBound) reach it. bodyBytes: the most bytes of a body character, when
// not those of opt's classes.
long long LongestString(const StringOptions& opt, bool reachesUpperBound = false,
                        int bodyBytes = 0);

// Callers guarantee at least one class and m_nLenMin <= m_nLenMax. The draws come from rng, by
// default the process-wide source.
void AppendRandomChar(std::string& out, const StringOptions& opt, const ComposerSources& sources,
                      RandomSource& rng);
CString MakeString(const StringOptions& opt, const ComposerSources& sources,
                   RandomSource& rng = TheRandomSource());
CString RandomChar(const StringOptions& opt, const ComposerSources& sources,
                   RandomSource& rng = TheRandomSource());
CString RandomHanzi(const ComposerSources& sources);
CString ApplyInserts(const StringOptions& opt, const ComposerSources& sources, CString s);
