// The fixed-point formatter against an exact reference: the double's whole decimal expansion,
// worked out with big integers, then rounded half away from zero by hand. Any difference is a
// crash. Input: the double's 8 bytes (little-endian), then 2 bytes for the decimals, 0 to 1100.
#include "core/FixedFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kMaxDecimals = 1100;

// A whole number in base 10^9, lowest limb first.
using Limbs = std::vector<std::uint64_t>;
constexpr std::uint64_t kBase = 1000000000;

void MultiplyBy(Limbs& n, std::uint64_t factor) // factor below 2^32
{
    std::uint64_t carry = 0;
    for (std::uint64_t& limb : n) {
        const std::uint64_t x = limb * factor + carry;
        limb = x % kBase;
        carry = x / kBase;
    }
    for (; carry; carry /= kBase)
        n.push_back(carry % kBase);
}

std::uint64_t Power(std::uint64_t base, int exponent)
{
    std::uint64_t p = 1;
    while (exponent-- > 0)
        p *= base;
    return p;
}

std::string ToDecimal(const Limbs& n)
{
    std::string s = std::to_string(n.back());
    for (std::size_t i = n.size() - 1; i-- > 0;) {
        const std::string limb = std::to_string(n[i]);
        s.append(9 - limb.size(), '0') += limb;
    }
    return s;
}

// |value| = mantissa * 2^exponent = (mantissa * 5^-exponent) / 10^-exponent when the exponent is
// negative: the digits of the big integer, of which the last fraction ones follow the point.
std::string ExactDigits(double value, int& fraction)
{
    int exponent;
    const double m = std::frexp(std::fabs(value), &exponent); // 0.5 <= m < 1, or 0
    const auto mantissa = static_cast<std::uint64_t>(std::ldexp(m, 53));
    exponent -= 53;
    Limbs n{mantissa % kBase, mantissa / kBase};
    fraction = exponent < 0 ? -exponent : 0;
    for (int k = fraction; k > 0; k -= 13)
        MultiplyBy(n, Power(5, std::min(k, 13)));
    for (int k = exponent; k > 0; k -= 29)
        MultiplyBy(n, Power(2, std::min(k, 29)));
    while (n.size() > 1 && n.back() == 0)
        n.pop_back();
    return ToDecimal(n);
}

std::string Reference(double value, int decimals)
{
    int fraction;
    std::string digits = ExactDigits(value, fraction);
    // At least one digit before the point and one past the last kept.
    if (digits.size() <= static_cast<std::size_t>(fraction))
        digits.insert(0, static_cast<std::size_t>(fraction) + 1 - digits.size(), '0');
    if (fraction <= decimals) {
        digits.append(static_cast<std::size_t>(decimals + 1 - fraction), '0');
        fraction = decimals + 1;
    }
    const std::size_t cut = digits.size() - static_cast<std::size_t>(fraction - decimals);
    // The expansion is exact: a first dropped digit of 5 or more is at least half, and a half
    // goes away from zero.
    const bool up = digits[cut] >= '5';
    digits.resize(cut);
    if (up) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9')
            digits[--i] = '0';
        if (i == 0)
            digits.insert(0, 1, '1');
        else
            ++digits[i - 1];
    }
    std::string text = std::signbit(value) ? "-" : "";
    text += digits.substr(0, digits.size() - static_cast<std::size_t>(decimals));
    if (decimals > 0)
        text += "." + digits.substr(digits.size() - static_cast<std::size_t>(decimals));
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 10)
        return 0;
    std::uint64_t bits = 0;
    for (int i = 7; i >= 0; --i)
        bits = bits << 8 | data[i];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value))
        return 0; // outside the formatter's domain
    const int decimals = (data[8] | data[9] << 8) % (kMaxDecimals + 1);

    const std::string expected = Reference(value, decimals);
    const CString text = FormatFixed(value, decimals);
    std::string appended = "x";
    AppendFixed(appended, value, decimals);
    if (text.Str() != expected || appended != "x" + expected) {
        std::fprintf(stderr, "%a with %d decimals: \"%s\", expected \"%s\"\n", value, decimals,
                     text.GetString(), expected.c_str());
        std::abort();
    }
    return 0;
}
