#include "ReferenceNumbers.h"

#include <climits>
#include <cstdlib>
#include <string>

namespace {

// Where strtol and strtod would look for the number: past white space and one sign.
std::size_t NumberStart(const std::string& s)
{
    std::size_t i = s.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos)
        return s.size();
    if (s[i] == '+' || s[i] == '-')
        ++i;
    return i;
}

// The processor's conversion rounds as IEEE says: to nearest, ties to even, infinity past the
// float range.
float RoundToFloat(double d)
{
    return static_cast<float>(d);
}

} // namespace

int ReferenceInt(std::string_view text)
{
    // A copy ends in a NUL, where strtol stops as the core stops at any byte that is no digit.
    const std::string s(text);
    const long value = std::strtol(s.c_str(), nullptr, 10); // LONG_MIN or LONG_MAX beyond long
    if (value < INT_MIN)
        return INT_MIN;
    if (value > INT_MAX)
        return INT_MAX;
    return static_cast<int>(value);
}

float ReferenceFloat(std::string_view text)
{
    std::string s(text);
    const std::size_t i = NumberStart(s);
    // strtod also reads inf, nan and words; our rules need a digit or the point here.
    if (i == s.size() || !((s[i] >= '0' && s[i] <= '9') || s[i] == '.'))
        return 0.0f;
    // And "0x..." as hexadecimal; by our rules only the 0 counts.
    if (s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X'))
        s.resize(i + 1);
    return RoundToFloat(std::strtod(s.c_str(), nullptr));
}
