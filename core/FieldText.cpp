#include "FieldText.h"

#include "CString.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Skips white space and reads the sign; returns the position of the first byte after them.
std::size_t SkipSpaceAndSign(std::string_view text, bool& negative)
{
    std::size_t i = 0;
    while (i < text.size() && IsSingleByteSpace(text[i]))
        ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    return i;
}

// Rounds a double to the nearest float as IEEE does, without the undefined conversion of a
// finite value beyond the float range.
float RoundToFloat(double d)
{
    constexpr double kMax = std::numeric_limits<float>::max();
    // Halfway between FLT_MAX and the next power of two: from here on the nearest value is
    // infinity.
    const double overflow = kMax + std::ldexp(1.0, 127 - 24);
    if (d >= overflow)
        return std::numeric_limits<float>::infinity();
    if (d <= -overflow)
        return -std::numeric_limits<float>::infinity();
    if (d > kMax)
        return std::numeric_limits<float>::max();
    if (d < -kMax)
        return -std::numeric_limits<float>::max();
    return static_cast<float>(d);
}

} // namespace

int IntFromText(std::string_view text)
{
    bool negative;
    std::size_t i = SkipSpaceAndSign(text, negative);
    // Accumulate as a negative number so that the most negative value needs no special case.
    constexpr long long kLimit = -static_cast<long long>(std::numeric_limits<int>::min());
    long long magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        magnitude = magnitude * 10 + (text[i] - '0');
        if (magnitude > kLimit)
            magnitude = kLimit + 1; // saturated; stays above every limit below
    }
    if (negative)
        return magnitude > kLimit ? std::numeric_limits<int>::min() : static_cast<int>(-magnitude);
    return magnitude > std::numeric_limits<int>::max() ? std::numeric_limits<int>::max()
                                                       : static_cast<int>(magnitude);
}

float FloatFromText(std::string_view text)
{
    bool negative;
    const std::size_t start = SkipSpaceAndSign(text, negative);
    std::size_t i = start;
    std::size_t digits = 0;
    // Decimal exponent of the first significant digit, to tell overflow from underflow below.
    long long leadExponent = 0;
    bool seenSignificant = false;
    long long intDigits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i, ++digits, ++intDigits)
        if (!seenSignificant && text[i] != '0') {
            seenSignificant = true;
            leadExponent = 0;
            intDigits = 0;
        }
    if (seenSignificant)
        leadExponent = intDigits; // digits after the first significant one, before the point
    if (i < text.size() && text[i] == '.') {
        ++i;
        long long fracPos = 0;
        for (; i < text.size() && IsDigit(text[i]); ++i, ++digits) {
            ++fracPos;
            if (!seenSignificant && text[i] != '0') {
                seenSignificant = true;
                leadExponent = -fracPos;
            }
        }
    }
    if (digits == 0)
        return 0.0f;
    std::size_t end = i;
    long long exponent = 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-'))
            expNegative = text[j++] == '-';
        if (j < text.size() && IsDigit(text[j])) {
            // Saturated far beyond any count of digits before it, which the lead exponent can
            // reach: a text of 200000 zeros and a 1 then still tells overflow from underflow.
            constexpr long long kExponentCap = 1'000'000'000'000'000;
            for (; j < text.size() && IsDigit(text[j]); ++j)
                if (exponent < kExponentCap)
                    exponent = exponent * 10 + (text[j] - '0');
            if (expNegative)
                exponent = -exponent;
            end = j;
        }
    }

    // from_chars takes no sign of its own; it converts with correct rounding.
    double value = 0.0;
    const char* first = text.data() + start;
    const char* last = text.data() + end;
    auto res = std::from_chars(first, last, value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        const bool overflow = seenSignificant && leadExponent + exponent > 0;
        value = overflow ? HUGE_VAL : 0.0;
    } else if (res.ec != std::errc()) {
        value = 0.0;
    }
    if (negative)
        value = -value;
    return RoundToFloat(value);
}
