#include "StrictNumbers.h"

#include <charconv>

namespace {

// Drops a '+' that a number follows: from_chars takes a '-' only.
std::string_view WithoutPlus(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    return text;
}

} // namespace

StrictNumber ReadStrictWhole(std::string_view text, std::int64_t lo, std::int64_t hi,
                             std::int64_t& value)
{
    const std::string_view number = WithoutPlus(text);
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, value);
    if (ptr != end || ec == std::errc::invalid_argument)
        return StrictNumber::NotANumber;
    if (ec == std::errc::result_out_of_range || value < lo || value > hi)
        return StrictNumber::OutOfRange;
    return StrictNumber::Ok;
}

bool IsStrictDecimal(std::string_view text)
{
    const std::string_view number = WithoutPlus(text);
    const std::size_t first = number.starts_with('-') ? 1 : 0;
    double parsed;
    const char* end = number.data() + number.size();
    return number.size() > first &&
           (number[first] == '.' || (number[first] >= '0' && number[first] <= '9')) &&
           std::from_chars(number.data(), end, parsed, std::chars_format::general).ptr == end;
}
