#pragma once
// One random string of the strings page: a body of random characters from the chosen classes, a
// fixed head and tail, then texts inserted at byte positions.

#include "CString.h"
#include "Random.h"
#include "Types.h"

#include <functional>
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

// What a string needs besides the 15-bit random source; the pages hand in the library's.
struct ComposerSources {
    // A uniform integer from lo to hi, both included: the bytes of a Chinese character.
    std::function<int(int lo, int hi)> randInt;
    // Field index of src cut at every sep, counting from 0; empty past the last field.
    std::function<CString(const CString& src, char sep, int index)> field;
};

// The insertion spec read once: its pairs in order, each position as atoi reads it.
struct InsertPlan {
    struct Pair {
        int position;
        CString text;
    };
    std::vector<Pair> pairs;
};
InsertPlan ReadInsertPlan(const CString& spec, const ComposerSources& sources);
// Makes the insertions of plan in s, as ApplyInserts describes.
void ApplyInsertPlan(const InsertPlan& plan, std::string& s);

// Makes the strings of one batch: the settings and the insertion spec are read once.
class StringComposer {
public:
    StringComposer(const StringOptions& opt, const ComposerSources& sources);
    // Appends one string to out.
    void Append(std::string& out, RandomSource& rng);

private:
    StringOptions m_opt;
    ComposerSources m_sources;
    InsertPlan m_plan;
    bool m_chosen[5];      // by class, 1 to 4
    std::string m_scratch; // a string with insertions is built here first
};

// Callers guarantee at least one class and m_nLenMin <= m_nLenMax. The draws come from rng, by
// default the process-wide source.
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
// longest body. A classic draw reaches the upper length bound only as far as ClassicTop allows; a
// source that reaches the whole range (a secure one) can reach the upper bound.
long long LongestString(const StringOptions& opt, bool reachesUpperBound = false);

void AppendRandomChar(std::string& out, const StringOptions& opt, const ComposerSources& sources,
                      RandomSource& rng);
CString MakeString(const StringOptions& opt, const ComposerSources& sources,
                   RandomSource& rng = TheRandomSource());
CString RandomChar(const StringOptions& opt, const ComposerSources& sources,
                   RandomSource& rng = TheRandomSource());
CString RandomHanzi(const ComposerSources& sources);
CString ApplyInserts(const StringOptions& opt, const ComposerSources& sources, CString s);
