#pragma once
// The conversions behind the pages' numeric edit boxes, by the C runtime's atoi/atof rules, alike
// on every platform and in every locale: leading white space, an optional sign, then the longest
// number that follows; whatever comes after it is ignored, and no number at all reads as 0.

#include <string_view>

// Decimal digits only. A value beyond the signed 32-bit range is clamped to it.
int IntFromText(std::string_view text);

// Digits with an optional '.' fraction and an optional exponent; no hexadecimal, no inf or nan, and
// the decimal point is always '.'. The decimal text is converted to the nearest double, which is
// then rounded to the nearest float.
float FloatFromText(std::string_view text);
