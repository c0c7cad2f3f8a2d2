#include "FixedFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string>

namespace {

// Number of decimals that writes the double exactly: a binary fraction with k bits after the
// point has exactly k decimals.
int ExactDecimals(double magnitude)
{
    if (magnitude == 0.0)
        return 0;
    int exp2;
    double mant = std::frexp(magnitude, &exp2); // magnitude = mant * 2^exp2, mant in [0.5, 1)
    // Strip the mantissa to an odd integer m with magnitude = m * 2^e.
    long long m = static_cast<long long>(std::ldexp(mant, 53));
    int e = exp2 - 53;
    while ((m & 1) == 0) {
        m >>= 1;
        ++e;
    }
    return e < 0 ? -e : 0;
}

} // namespace

void AppendFixed(CString& out, double value, int decimals)
{
    if (decimals < 0)
        decimals = 0;
    const bool negative = std::signbit(value);
    const double magnitude = std::fabs(value);

    // The exact decimal expansion: no rounding happens when all of its digits are asked for.
    const int exact = ExactDecimals(magnitude);
    std::string digits(400 + static_cast<std::size_t>(exact), '\0');
    auto res = std::to_chars(digits.data(), digits.data() + digits.size(), magnitude,
                             std::chars_format::fixed, exact);
    digits.resize(static_cast<std::size_t>(res.ptr - digits.data()));

    std::string intPart, fracPart;
    if (auto dot = digits.find('.'); dot != std::string::npos) {
        intPart = digits.substr(0, dot);
        fracPart = digits.substr(dot + 1);
    } else {
        intPart = digits;
    }

    if (static_cast<int>(fracPart.size()) > decimals) {
        // Only the first dropped digit decides: a 5 or more (exact halves included) goes up.
        const bool up = fracPart[static_cast<std::size_t>(decimals)] >= '5';
        fracPart.resize(static_cast<std::size_t>(decimals));
        if (up) {
            std::string all = intPart + fracPart;
            int i = static_cast<int>(all.size()) - 1;
            for (; i >= 0; --i) {
                if (all[static_cast<std::size_t>(i)] == '9') {
                    all[static_cast<std::size_t>(i)] = '0';
                } else {
                    ++all[static_cast<std::size_t>(i)];
                    break;
                }
            }
            if (i < 0)
                all.insert(all.begin(), '1');
            intPart = all.substr(0, all.size() - fracPart.size());
            fracPart = all.substr(all.size() - fracPart.size());
        }
    }

    const std::size_t pad = static_cast<std::size_t>(decimals) - fracPart.size();
    out.Reserve(out.size() + 1 + intPart.size() + 1 + static_cast<std::size_t>(decimals));
    if (negative)
        out += '-';
    out += intPart;
    if (decimals > 0) {
        out += '.';
        out += fracPart;
        out += std::string(pad, '0');
    }
}

CString FormatFixed(double value, int decimals)
{
    CString out;
    AppendFixed(out, value, decimals);
    return out;
}
