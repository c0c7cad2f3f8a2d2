#include "Random.h"

#include <cmath>
#include <ctime>
#include <limits>

namespace {
std::uint32_t g_state = 1; // the runtime's own state before any seeding
}

void SeedRandom()
{
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
}

void SeedRandom(std::uint32_t seed)
{
    g_state = seed;
}

int RandDraw()
{
    g_state = g_state * 214013u + 2531011u;
    return static_cast<int>((g_state >> 16) & 0x7FFF);
}

int RandBetween(int lo, int hi)
{
    const long long r = RandDraw();
    const long long size = static_cast<long long>(hi) - lo + 1;
    if (size <= 0)
        return lo;
    // 64-bit arithmetic gives the 32-bit formula's result wherever that one is defined.
    return static_cast<int>(lo + r % size);
}

int TruncToInt(double value)
{
    if (std::isnan(value))
        return 0;
    if (value <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (value >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(value);
}

double RandFloat(float lo, float hi)
{
    const long long a = TruncToInt(static_cast<double>(lo) * 10000.0);
    const long long r1 = RandDraw();
    const long long r2 = RandDraw();
    const long long p = r1 * r2; // at most 32767 * 32767, inside 31 bits
    const long long b = TruncToInt(static_cast<double>(hi) * 10000.0);
    const long long width = b - a;
    const long long n = width == 0 ? a : a + p % width;
    return static_cast<double>(n) * static_cast<double>(0.0001f);
}
