#pragma once
// Fixed-point text of a double, like "%.*f" but rounding the exact decimal value half away from
// zero (0.125 with 2 decimals is 0.13, -2.5 with 0 decimals is -3; printf implementations round
// such exact halves to even). A negative value that rounds to zero keeps its sign: -0.0001 gives
// -0.00. No decimal point for 0 decimals. The value must be finite.

#include "CString.h"

#include <string>

void AppendFixed(std::string& out, double value, int decimals);
void AppendFixed(CString& out, double value, int decimals);
CString FormatFixed(double value, int decimals);
