#pragma once
// What a string needs besides its random source: random integers for the bytes of a Chinese
// character, and the fields of the insertion spec. The pages hand in the library's (CCore); a
// front end without the library takes the core's own, which are the draws and the cut that our
// stand-in for the library makes, so that both give the same strings from the same seed.

#include "CString.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

struct ComposerSources {
    // A uniform integer from lo to hi, both included: the bytes of a Chinese character.
    std::function<int(int lo, int hi)> randInt;
    // Field index of src cut at every sep, counting from 0; empty past the last field.
    std::function<CString(const CString& src, char sep, int index)> field;
};

// Uniform integers from a Mersenne twister.
class TwisterIntegers {
public:
    explicit TwisterIntegers(std::uint32_t seed) : m_rng(seed) {}
    // Uniform over every value from lo to hi; hi < lo gives lo.
    int Between(int lo, int hi);

private:
    std::mt19937 m_rng;
};

// Cuts a text into fields. Callers walk a text field by field: a walk on the same text goes on
// from the last field instead of cutting the text from its start again, which made reading a long
// insertion spec quadratic.
class FieldWalker {
public:
    // Field index of src cut at every sep, counting from 0; empty past the last field and for a
    // negative index.
    CString Field(const CString& src, char sep, int index);

private:
    std::string m_source; // where the last field was found
    char m_sep = 0;
    int m_index = 0;
    std::size_t m_start = 0;
};

// Sources from the two; they must outlive their use.
ComposerSources SourcesOf(TwisterIntegers& integers, FieldWalker& fields);
