#pragma once
// Numbers as a script types them: the whole text is the number, so that a typo never becomes
// another value (the pages' boxes read leniently, FieldText.h).

#include <cstdint>
#include <string_view>

enum class StrictNumber { Ok, NotANumber, OutOfRange };

// A whole number with an optional sign, from lo to hi.
StrictNumber ReadStrictWhole(std::string_view text, std::int64_t lo, std::int64_t hi,
                             std::int64_t& value);
// A decimal number with an optional sign, digits or a point first, an optional exponent: no inf,
// nan or hexadecimal, which a box reads as 0.
bool IsStrictDecimal(std::string_view text);
