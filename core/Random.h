#pragma once
// The random source and the two draws every generator takes from it.
// The source is the classic 15-bit linear congruential generator of the C runtime
// (state = state * 214013 + 2531011, draw = bits 16..30), so that one seed gives the same draws on
// every platform and in every build, and two draws always multiply inside 32 bits.
//
// A RandomSource is a plain value: a batch on a worker thread draws from its own copy, taken right
// after the page seeded the process-wide one, and so makes exactly the draws the page would have.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

// The largest draw: 15 bits. Every rule about what the pages' draws can reach derives from it here.
constexpr int RAND_DRAW_MAX = 32767;

// The highest value that Between(lo, hi) yields: a range wider than one draw is reached only from
// lo to lo + RAND_DRAW_MAX.
constexpr long long ClassicTop(long long lo, long long hi)
{
    return std::min(hi, lo + RAND_DRAW_MAX);
}

// How many ten-thousandths FloatFromTenThousandths(rng, a, b) yields, a <= b: the product of two
// draws reaches RAND_DRAW_MAX squared; equal bounds yield the bound.
constexpr long long ClassicFloatValues(long long a, long long b)
{
    return b <= a ? 1 : std::min(b - a, static_cast<long long>(RAND_DRAW_MAX) * RAND_DRAW_MAX + 1);
}

// What Between(lo, hi) reaches of lo .. hi, as text, when that is not all of it: a range wider
// than one draw, which a seeded command line run warns of.
using ClassicReach = std::optional<std::pair<std::string, std::string>>;
ClassicReach ClassicCut(long long lo, long long hi);

class RandomSource {
public:
    explicit RandomSource(std::uint32_t seed = 1) : m_state(seed) {}
    void Seed(std::uint32_t seed) { m_state = seed; }

    // One draw, 0 to RAND_DRAW_MAX.
    int Draw()
    {
        m_state = m_state * 214013u + 2531011u;
        return static_cast<int>((m_state >> 16) & RAND_DRAW_MAX);
    }

    // lo + (draw mod (hi - lo + 1)): one draw, no bias correction, so a range wider than a draw
    // only ever yields lo .. ClassicTop(lo, hi). hi < lo yields lo.
    int Between(int lo, int hi)
    {
        const int r = Draw();
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
    double Float(float lo, float hi);

private:
    std::uint32_t m_state;
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
