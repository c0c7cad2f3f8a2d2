#include "FixedFormat.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

// The number of decimals that write a finite double exactly: a binary fraction with k bits after
// the point has exactly k decimals, the last of them a 5.
int ExactDecimals(double magnitude)
{
    const std::uint64_t bits = std::bit_cast<std::uint64_t>(magnitude);
    const int field = static_cast<int>((bits >> 52) & 0x7FF);
    std::uint64_t mantissa = bits & ((std::uint64_t{1} << 52) - 1);
    int exponent = field == 0 ? -1074 : field - 1075; // value = mantissa * 2^exponent
    if (field != 0)
        mantissa |= std::uint64_t{1} << 52;
    if (mantissa == 0)
        return 0;
    exponent += std::countr_zero(mantissa);
    return exponent < 0 ? -exponent : 0;
}

} // namespace

void AppendFixed(std::string& out, double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    const bool negative = std::signbit(value);
    double magnitude = std::fabs(value);
    const int exact = ExactDecimals(magnitude);
    // Digits worth writing: past the exact expansion there are only zeros.
    const int written = exact < decimals ? exact : decimals;
    // An exact half at the first dropped digit: the next double above it rounds away from zero,
    // where to_chars would round to even; nothing else lies between the two.
    if (exact == decimals + 1)
        magnitude = std::nextafter(magnitude, HUGE_VAL);

    char buf[310 + 1100]; // the longest whole part of a double, and the longest exact fraction
    const auto res =
        std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::fixed, written);
    if (negative)
        out += '-';
    out.append(buf, res.ptr);
    if (decimals > written) {
        if (written == 0)
            out += '.';
        out.append(static_cast<std::size_t>(decimals - written), '0');
    }
}

void AppendFixed(CString& out, double value, int decimals)
{
    std::string s;
    AppendFixed(s, value, decimals);
    out += s;
}

CString FormatFixed(double value, int decimals)
{
    std::string s;
    AppendFixed(s, value, decimals);
    return CString(std::move(s));
}
