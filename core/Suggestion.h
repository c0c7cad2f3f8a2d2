#pragma once
// The word a user most likely meant: for a mistyped command or option name.

#include <string>
#include <vector>

// The name among candidates that text most likely misspells; empty when none is close.
std::string Suggestion(const std::string& text, const std::vector<std::string>& candidates);
