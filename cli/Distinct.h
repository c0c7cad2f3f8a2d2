#pragma once
// How many different records a generator's settings can make at most with --seed, whose draws reach
// only part of a wide range: --unique refuses a count above it before anything is written. Counts
// saturate at DISTINCT_MANY.

#include "core/NumberItem.h"
#include "core/Saturating.h"
#include "core/StringComposer.h"

#include <cstdint>

std::uint64_t DistinctStrings(const StringOptions& opt);
std::uint64_t DistinctNumbers(const NumberOptions& opt);
