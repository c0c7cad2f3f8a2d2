#include "Distinct.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace {

// Orders floats as integers: adjacent floats get adjacent keys.
long long FloatKey(float f)
{
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(f);
    const long long magnitude = bits & ~(std::uint32_t{1} << 31);
    return (bits >> 31) ? -magnitude : magnitude;
}

// The number of d-decimal texts between two values (an upper bound when rounding drifts).
std::uint64_t GridTexts(double lo, double hi, int decimals)
{
    if (decimals > 300)
        return DISTINCT_MANY;
    const double scale = std::pow(10.0, decimals);
    const double span = std::floor(hi * scale + 0.5) - std::floor(lo * scale + 0.5) + 1;
    // A negative value that rounds to zero is written "-0.00", beside "0.00".
    const double texts = span + (lo < 0 ? 1 : 0);
    return texts >= static_cast<double>(DISTINCT_MANY) ? DISTINCT_MANY
                                                       : static_cast<std::uint64_t>(texts);
}

} // namespace

std::uint64_t DistinctStrings(const StringOptions& opt)
{
    const std::uint64_t alphabet = (opt.m_bUpper ? 26 : 0) + (opt.m_bLower ? 26 : 0) +
                                   (opt.m_bDigit ? 10 : 0) + (opt.m_bHanzi ? 3755 : 0);
    const long long lo = opt.m_nLenMin;
    const long long hi = ClassicTop(lo, opt.m_nLenMax);
    if (hi < lo || alphabet == 0)
        return 0;
    std::uint64_t total = lo <= 0 ? 1 : 0; // every length up to 0 gives the empty body
    std::uint64_t power = 1;
    for (long long len = 1; len <= hi && total < DISTINCT_MANY; ++len) {
        power = SaturatingMultiply(power, alphabet);
        if (len >= lo)
            total = SaturatingAdd(total, power);
    }
    // Without Chinese characters a string follows from the 32-bit state it starts from.
    if (!opt.m_bHanzi)
        total = std::min<std::uint64_t>(total, std::uint64_t{1} << 32);
    return total;
}

std::uint64_t DistinctNumbers(const NumberOptions& opt)
{
    std::uint64_t whole = 0, decimal = 0;
    const int wLo = TruncToInt(opt.m_fMin), wHi = TruncToInt(opt.m_fMax);
    if (opt.m_bInteger) {
        whole = static_cast<std::uint64_t>(ClassicTop(wLo, wHi) - wLo + 1);
    }
    double dLo = 0, dHi = 0;
    if (opt.m_bFloat) {
        const int a = TenThousandths(opt.m_fMin), b = TenThousandths(opt.m_fMax);
        const long long width = ClassicFloatValues(a, b); // a .. a + width - 1
        const float vLo = static_cast<float>(a * static_cast<double>(0.0001f));
        const float vHi = static_cast<float>((a + width - 1) * static_cast<double>(0.0001f));
        dLo = vLo;
        dHi = vHi;
        const long long floats = FloatKey(vHi) - FloatKey(vLo) + 1;
        decimal = std::min({static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(floats),
                            GridTexts(dLo, dHi, opt.m_nDecimals)});
    }
    std::uint64_t total = SaturatingAdd(whole, decimal);
    if (opt.m_bInteger && opt.m_bFloat && opt.m_nDecimals == 0) {
        // Without a decimal point the two kinds write the same texts: count their union.
        const double lo = std::min<double>(wLo, std::floor(dLo + 0.5));
        const double hi = std::max<double>(wHi, std::floor(dHi + 0.5));
        const double united = hi - lo + 1 + (dLo < 0 ? 1 : 0);
        total = std::min(total, static_cast<std::uint64_t>(united));
    }
    return total;
}
