#include "ArgumentNumbers.h"

#include "core/FieldText.h"

#include <charconv>
#include <cmath>

namespace {

// Drops a '+' that a number follows: from_chars takes a '-' only.
std::string_view WithoutPlus(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    return text;
}

} // namespace

ArgumentNumber ReadWholeArgument(std::string_view text, std::int64_t lo, std::int64_t hi,
                                 std::int64_t& value)
{
    text = WithoutPlus(text);
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ptr != end || ec == std::errc::invalid_argument)
        return ArgumentNumber::NotANumber;
    if (ec == std::errc::result_out_of_range || value < lo || value > hi)
        return ArgumentNumber::OutOfRange;
    return ArgumentNumber::Ok;
}

ArgumentNumber ReadDecimalArgument(std::string_view text, float& value)
{
    const std::string_view number = WithoutPlus(text);
    // from_chars would also take the words inf and nan, which a box reads as 0.
    const std::size_t first = number.starts_with('-') ? 1 : 0;
    if (number.size() <= first ||
        (number[first] != '.' && (number[first] < '0' || number[first] > '9')))
        return ArgumentNumber::NotANumber;
    double parsed;
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, parsed, std::chars_format::general);
    if (ptr != end || ec == std::errc::invalid_argument)
        return ArgumentNumber::NotANumber;
    // The box's own rounding, so that a value typed here is the value the page would hold.
    value = FloatFromText(text);
    return std::isfinite(value) ? ArgumentNumber::Ok : ArgumentNumber::OutOfRange;
}
