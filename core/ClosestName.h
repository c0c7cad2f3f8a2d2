#pragma once
// A mistyped command or option name's likeliest meaning, for "did you mean" in a usage error.

#include <string>
#include <vector>

// The name among candidates that text most likely misspells (at most two edits away, a swap of
// two neighbours counting as one, or a beginning of at least three characters); empty when none
// is close.
std::string ClosestName(const std::string& text, const std::vector<std::string>& candidates);
