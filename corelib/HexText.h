#pragma once
// The library's hexadecimal character form of a text: every byte as two hex digits. The
// application record's slots hold their texts so.

#include "core/CString.h"

#include <string_view>

// Stops at the first pair that is not two hex digits.
CString DecodeHexText(std::string_view hex);
