#pragma once
// How many different records a generator's settings can make at most: --unique refuses a count
// above it before anything is written. Counts saturate at DISTINCT_MANY.

#include "core/NumberItem.h"
#include "core/StringComposer.h"

#include <cstdint>

constexpr std::uint64_t DISTINCT_MANY = std::uint64_t{1} << 62;

// secure: every draw reaches the whole of its range; otherwise a draw reaches at most 32768 values.
std::uint64_t DistinctStrings(const StringOptions& opt, bool secure);
std::uint64_t DistinctNumbers(const NumberOptions& opt, bool secure);
