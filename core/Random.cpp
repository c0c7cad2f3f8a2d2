#include "Random.h"

#include <cmath>
#include <ctime>
#include <limits>

RandomSource& TheRandomSource()
{
    static RandomSource source(1); // the runtime's own state before any seeding
    return source;
}

void SeedRandom()
{
    SeedRandom(static_cast<std::uint32_t>(std::time(nullptr)));
}

void SeedRandom(std::uint32_t seed)
{
    TheRandomSource().Seed(seed);
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

double FloatFromTenThousandths(RandomSource& rng, int a, int b)
{
    const std::uint32_t r1 = static_cast<std::uint32_t>(rng.Draw());
    const std::uint32_t r2 = static_cast<std::uint32_t>(rng.Draw());
    const std::uint32_t p = r1 * r2; // two 15-bit draws: inside 31 bits
    const long long width = static_cast<long long>(b) - a;
    long long n = a;
    if (width != 0) {
        // The remainder of a truncating division takes the sign of p, which is never negative.
        const unsigned long long w = static_cast<unsigned long long>(width < 0 ? -width : width);
        n += w > p ? p : p % static_cast<std::uint32_t>(w);
    }
    return static_cast<double>(n) * static_cast<double>(0.0001f);
}

double RandomSource::Float(float lo, float hi)
{
    const int a = TenThousandths(lo);
    const int b = TenThousandths(hi);
    return FloatFromTenThousandths(*this, a, b);
}

ClassicReach ClassicCut(long long lo, long long hi)
{
    if (ClassicTop(lo, hi) >= hi)
        return std::nullopt;
    return std::pair{std::to_string(lo), std::to_string(ClassicTop(lo, hi))};
}
