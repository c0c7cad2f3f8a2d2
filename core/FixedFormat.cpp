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
    const double magnitude = std::fabs(value);
    const int exact = ExactDecimals(magnitude);
    // An exact half at the first dropped digit (the last digit of the expansion, always a 5):
    // to_chars would round it to even, so every digit is written and the half rounded here. The
    // next double up cannot stand in for it: it may differ in digits well before the half.
    const bool half = exact == decimals + 1;
    // Digits worth writing: past the exact expansion there are only zeros.
    const int written = half || exact < decimals ? exact : decimals;

    // One byte for a carry, the longest whole part of a double, and the longest exact fraction.
    char buf[1 + 310 + 1100];
    char* first = buf + 1;
    char* last =
        std::to_chars(first, buf + sizeof buf, magnitude, std::chars_format::fixed, written).ptr;
    if (half) {
        --last; // the 5
        if (decimals == 0)
            --last; // and the point before it
        char* p = last;
        for (; p != first && (p[-1] == '9' || p[-1] == '.'); --p)
            if (p[-1] == '9')
                p[-1] = '0';
        if (p == first)
            *--first = '1';
        else
            ++p[-1];
    }
    if (negative)
        out += '-';
    out.append(first, last);
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
