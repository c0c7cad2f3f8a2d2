#pragma once
// The numeric field rules read a second way, on the C runtime's strtol and strtod in the "C"
// locale (the fuzz targets never change it): the references the core's own readers are held to.

#include <string_view>

// Leading white space, an optional sign, decimal digits; clamped to the signed 32-bit range.
int ReferenceInt(std::string_view text);
// As strtod reads it, less what strtod reads beyond our rules (hexadecimal, inf, nan), rounded
// from double to float by the processor.
float ReferenceFloat(std::string_view text);
