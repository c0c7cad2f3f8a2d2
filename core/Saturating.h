#pragma once
// Counts of different records, which can pass 64 bits (3755 Chinese characters to the power of a
// length): they saturate at DISTINCT_MANY, far above any count a run can ask for.

#include <algorithm>
#include <cstdint>

constexpr std::uint64_t DISTINCT_MANY = std::uint64_t{1} << 62;

// a and b at most DISTINCT_MANY: the sum does not wrap.
constexpr std::uint64_t SaturatingAdd(std::uint64_t a, std::uint64_t b)
{
    return std::min(DISTINCT_MANY, a + b);
}

constexpr std::uint64_t SaturatingMultiply(std::uint64_t a, std::uint64_t b)
{
    return a != 0 && b > DISTINCT_MANY / a ? DISTINCT_MANY : a * b;
}
