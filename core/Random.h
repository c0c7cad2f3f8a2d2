#pragma once
// The random source and the two draws every generator takes from it.
// The source is the classic 15-bit linear congruential generator of the C runtime
// (state = state * 214013 + 2531011, draw = bits 16..30), so that one seed gives the same draws on
// every platform and in every build, and two draws always multiply inside 32 bits.
//
// A RandomSource is a plain value: a batch on a worker thread draws from its own copy, taken right
// after the page seeded the process-wide one, and so makes exactly the draws the page would have.

#include <cstddef>
#include <cstdint>

constexpr int RAND_DRAW_MAX = 32767;

// Unpredictable bits from the operating system, for real passwords: a draw from them is uniform
// over any range, with neither the 15-bit reach nor the bias of the classic source.
class SecureBits {
public:
    // Fills n bytes; it must not return without having filled them all.
    using Fill = void (*)(void* buffer, std::size_t n);
    explicit SecureBits(Fill fill) : m_fill(fill) {}
    std::uint64_t Next64();
    // Uniform from 0 to n - 1 (n > 0): values from the biased top end of 2^64 are drawn again.
    std::uint64_t Below(std::uint64_t n);

private:
    static constexpr std::size_t WORDS = 512; // 4 KiB: one system call serves many draws
    Fill m_fill;
    std::uint64_t m_words[WORDS];
    std::size_t m_next = WORDS; // m_words used up to here
};

class RandomSource {
public:
    explicit RandomSource(std::uint32_t seed = 1) : m_state(seed) {}
    // Every draw then comes from bits, which must outlive the source and its copies; copies share
    // it, so a copy never repeats the draws of another.
    static RandomSource Secure(SecureBits& bits)
    {
        RandomSource source;
        source.m_secure = &bits;
        return source;
    }
    bool IsSecure() const { return m_secure != nullptr; }
    // Uniform from 0 to n - 1 (n > 0); only for a secure source.
    std::uint64_t SecureBelow(std::uint64_t n) { return m_secure->Below(n); }
    void Seed(std::uint32_t seed) { m_state = seed; }

    // One draw, 0 to RAND_DRAW_MAX.
    int Draw()
    {
        if (m_secure) [[unlikely]]
            return static_cast<int>(m_secure->Below(RAND_DRAW_MAX + 1));
        return ClassicDraw();
    }

    // lo + (draw mod (hi - lo + 1)): one draw, no bias correction, so a range wider than 32768 only
    // ever yields lo .. lo + 32767. hi < lo yields lo. A secure source gives every value of the
    // range with the same chance.
    int Between(int lo, int hi)
    {
        if (m_secure) [[unlikely]]
            return SecureBetween(lo, hi);
        return ClassicBetween(lo, hi);
    }

    // The two draws of the classic source alone, for a loop that has asked IsSecure() once: a test
    // in every draw costs the inner loops of a batch a third of their speed.
    int ClassicDraw()
    {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & 0x7FFF);
    }
    int ClassicBetween(int lo, int hi)
    {
        const int r = ClassicDraw();
        const long long size = static_cast<long long>(hi) - lo + 1;
        if (size <= 0)
            return lo;
        // A size above the largest draw leaves the draw as it is; below it, 32-bit arithmetic is
        // exact and spares the 32-bit build a 64-bit division.
        if (size > RAND_DRAW_MAX)
            return lo + r;
        return lo + r % static_cast<int>(size);
    }

    // A whole number of ten-thousandths from trunc(lo * 10000) up to trunc(hi * 10000) - 1, times
    // the single-precision 0.0001. When both bounds truncate to the same number the result is that
    // number (equal bounds give the bound itself) instead of a division by zero.
    // A secure source: uniform over the ten-thousandths from the lower up to the upper one.
    double Float(float lo, float hi);

private:
    int SecureBetween(int lo, int hi);

    std::uint32_t m_state;
    SecureBits* m_secure = nullptr;
};

// The process-wide source that the pages seed and the functions below draw from.
RandomSource& TheRandomSource();

// Seeds from the clock: whole seconds since 1970, as an unsigned 32-bit value.
void SeedRandom();
// Seeds with a given value, to reproduce a run.
void SeedRandom(std::uint32_t seed);
inline int RandDraw()
{
    return TheRandomSource().Draw();
}
inline int RandBetween(int lo, int hi)
{
    return TheRandomSource().Between(lo, hi);
}
inline double RandFloat(float lo, float hi)
{
    return TheRandomSource().Float(lo, hi);
}

// Float-to-integer conversion truncating toward zero, clamped to the signed 32-bit range (NaN is
// 0).
int TruncToInt(double value);

// The number of ten-thousandths a decimal bound stands for: trunc(bound * 10000), as RandFloat
// takes it.
inline int TenThousandths(float bound)
{
    return TruncToInt(static_cast<double>(bound) * 10000.0);
}

// RandFloat with its bounds already in ten-thousandths (a and b as TenThousandths gives them).
double FloatFromTenThousandths(RandomSource& rng, int a, int b);
