#pragma once
// Numbers given on the command line, read strictly: the whole argument is the number, inside the
// setting's range, or it is refused. A script's typo must not become another count or seed; the
// pages' boxes keep their own lenient reading (core/FieldText.h).

#include <cstdint>
#include <string_view>

enum class ArgumentNumber {
    Ok,
    NotANumber, // anything but the number itself: blanks, trailing text, an empty text
    OutOfRange, // a number that the setting cannot hold
};

// An optional sign and decimal digits, from lo to hi.
ArgumentNumber ReadWholeArgument(std::string_view text, std::int64_t lo, std::int64_t hi,
                                 std::int64_t& value);

// A decimal number as a box takes it (sign, digits with an optional '.' fraction, an optional
// exponent), and nothing else: no inf, nan or hexadecimal. The value is the box's reading of it,
// which must be a finite single-precision float.
ArgumentNumber ReadDecimalArgument(std::string_view text, float& value);
