#pragma once
// A name for a file of the program's own that nobody can plant ahead: "zan" and eight random
// hexadecimal digits, then ".tmp". draw counts the names drawn for one file so far.

#include <string>

std::wstring RandomFileName(int draw);
