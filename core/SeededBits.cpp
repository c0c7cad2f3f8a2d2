#include "SeededBits.h"

#include <bit>
#include <cstring>

std::uint64_t SplitMix64(std::uint64_t& state)
{
    std::uint64_t z = (state += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

Xoshiro256StarStar Xoshiro256StarStar::FromSeed(std::uint64_t seed)
{
    const std::uint64_t s0 = SplitMix64(seed), s1 = SplitMix64(seed), s2 = SplitMix64(seed);
    return {s0, s1, s2, SplitMix64(seed)};
}

std::uint64_t Xoshiro256StarStar::Next()
{
    const std::uint64_t result = std::rotl(m_s[1] * 5, 7) * 9;
    const std::uint64_t t = m_s[1] << 17;
    m_s[2] ^= m_s[0];
    m_s[3] ^= m_s[1];
    m_s[1] ^= m_s[2];
    m_s[0] ^= m_s[3];
    m_s[2] ^= t;
    m_s[3] = std::rotl(m_s[3], 45);
    return result;
}

namespace {
thread_local Xoshiro256StarStar g_bits = Xoshiro256StarStar::FromSeed(0);
}

void SeedBits(std::uint64_t seed)
{
    g_bits = Xoshiro256StarStar::FromSeed(seed);
}

void FillSeededBits(void* buffer, std::size_t n)
{
    auto* out = static_cast<unsigned char*>(buffer);
    for (; n > 0;) {
        const std::uint64_t word = g_bits.Next();
        const std::size_t k = n < sizeof word ? n : sizeof word;
        std::memcpy(out, &word, k);
        out += k;
        n -= k;
    }
}
