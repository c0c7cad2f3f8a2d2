// The exact draws' fast paths against the plain ones: characters picked a batch at a time spend
// the source's bits exactly as one draw per character would, so a batch's bytes do not depend on
// how it was cut into calls.
#include "core/ComposerSources.h"
#include "core/Random.h"
#include "core/StringComposer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

// Two sources with the same counter-made words, each restartable.
std::uint64_t g_state[2];
template <int K> void SameFill(void* buffer, std::size_t n)
{
    for (std::size_t i = 0; i < n; i += 8) {
        std::uint64_t word = (g_state[K] += 0x9E3779B97F4A7C15u);
        word = (word ^ (word >> 31)) * 0xBF58476D1CE4E5B9u;
        word ^= word >> 29;
        std::memcpy(static_cast<char*>(buffer) + i, &word, std::min<std::size_t>(8, n - i));
    }
}

Alphabet Letters(std::size_t size)
{
    Alphabet a;
    for (std::size_t c = 0; c < size; ++c) {
        a.codes.push_back(static_cast<std::uint16_t>(0x20 + c));
        a.classes.push_back(CLASS_CHARSET);
    }
    return a;
}

} // namespace

TEST(ExactDraws, BatchedCharactersSpendTheBitsAsOneDrawACharacterWould)
{
    FieldWalker fields;
    TwisterIntegers integers(0);
    // Sizes at and around powers of two (no bit, one bit, pairs of six bits, seven and eight
    // bits); lengths within one word, past one, and past the characters drawn ahead.
    for (const std::size_t size : {1u, 2u, 3u, 26u, 62u, 64u, 65u, 94u, 200u, 224u})
        for (const int length : {1, 7, 16, 23, 5000}) {
            g_state[0] = g_state[1] = 12345;
            StringOptions opt;
            opt.m_nLenMin = opt.m_nLenMax = length;
            const Alphabet alphabet = Letters(size);
            StringComposer composer(opt, alphabet, SourcesOf(integers, fields));
            UniformSource batched(&SameFill<0>), plain(&SameFill<1>);
            std::string made, expected;
            const int count = length > 100 ? 5 : 700;
            for (int i = 0; i < count; ++i)
                composer.Append(made, batched);
            for (int i = 0; i < count * length; ++i)
                expected += static_cast<char>(alphabet.codes[plain.UpTo(size - 1)]);
            ASSERT_EQ(made, expected) << size << " characters, length " << length;
        }
}

TEST(ExactDraws, VaryingLengthsTakeTheirLengthBeforeTheirCharacters)
{
    FieldWalker fields;
    TwisterIntegers integers(0);
    g_state[0] = g_state[1] = 99;
    StringOptions opt;
    opt.m_nLenMin = 3;
    opt.m_nLenMax = 20;
    const Alphabet alphabet = Letters(62);
    StringComposer composer(opt, alphabet, SourcesOf(integers, fields));
    UniformSource batched(&SameFill<0>), plain(&SameFill<1>);
    for (int i = 0; i < 2000; ++i) {
        std::string made, expected;
        composer.Append(made, batched);
        const auto length = 3 + plain.UpTo(17);
        for (std::uint64_t k = 0; k < length; ++k)
            expected += static_cast<char>(alphabet.codes[plain.UpTo(61)]);
        ASSERT_EQ(made, expected) << "string " << i;
    }
}
