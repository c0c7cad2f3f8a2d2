// The exact draws' fast paths against the plain ones (characters picked a batch at a time spend
// the source's bits exactly as one draw per character would, so a batch's bytes do not depend on
// how it was cut into calls), and the min-entropy of their bodies against a count by hand.
#include "core/ComposerSources.h"
#include "core/Entropy.h"
#include "core/Random.h"
#include "core/StringComposer.h"

#include <gtest/gtest.h>

#include <cmath>
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

TEST(ExactDraws, MinEntropyIsTheLikeliestBodyCountedByHand)
{
    // A B of one class, a b of another, both required, lengths 2 to 3. A length is drawn, then
    // its letters, and a body without both classes is drawn again whole: of the 16 bodies of 2
    // letters 8 are kept, of the 64 of 3 letters 48, so a kept body of 2 comes out with the
    // chance (1/2 * 1/16) / (1/2 * 8/16 + 1/2 * 48/64) = 1/20, one of 3 with 1/80.
    Alphabet a;
    a.codes = {'A', 'B', 'a', 'b'};
    a.classes = {CLASS_UPPER, CLASS_UPPER, CLASS_LOWER, CLASS_LOWER};
    a.required = CLASS_UPPER | CLASS_LOWER;
    // The same by enumeration: every body of each length, its chance before and after the
    // rejections.
    double kept = 0, likeliest = 0;
    std::vector<double> chances;
    for (int length = 2; length <= 3; ++length)
        for (int body = 0; body < (1 << 2 * length); ++body) {
            std::uint8_t held = 0;
            for (int i = 0; i < length; ++i)
                held |= a.classes[static_cast<std::size_t>(body >> 2 * i & 3)];
            if (held == a.required)
                chances.push_back(0.5 / (1 << 2 * length));
        }
    for (const double c : chances)
        kept += c;
    double shannon = 0;
    for (const double c : chances) {
        likeliest = std::max(likeliest, c / kept);
        shannon -= c / kept * std::log2(c / kept);
    }
    EXPECT_DOUBLE_EQ(likeliest, 1.0 / 20);
    EXPECT_NEAR(shannon, 0.4 * std::log2(20.0) + 0.6 * std::log2(80.0), 1e-12);

    const BodyOdds odds = OddsOf(a, 2, 3);
    EXPECT_DOUBLE_EQ(odds.acceptance, 5.0 / 8);
    EXPECT_NEAR(odds.entropyBits, shannon, 1e-9);
    EXPECT_NEAR(MinEntropyBits(a, 2, 3, odds), std::log2(20.0), 1e-9);
    EXPECT_EQ(FewestCovering(a), 2);

    // Without a required class the shortest bodies are still the likeliest: 1 of 4 lengths
    // times 1 of 4 bodies of one letter. Lengths 0 and below all make the empty body: with
    // lengths -1 to 1, it comes out 2 times in 3.
    a.required = 0;
    EXPECT_NEAR(MinEntropyBits(a, 1, 4, OddsOf(a, 1, 4)), std::log2(16.0), 1e-9);
    EXPECT_NEAR(MinEntropyBits(a, -1, 1, OddsOf(a, -1, 1)), std::log2(1.5), 1e-9);
    // A character of both classes covers them alone.
    a.required = CLASS_UPPER | CLASS_LOWER;
    a.classes[0] = CLASS_UPPER | CLASS_LOWER;
    EXPECT_EQ(FewestCovering(a), 1);
}
