#pragma once
// The system's own words for an error number (Windows: GetLastError's, in the user's language;
// POSIX: errno's, strerror in the locale's), without the line end.

#include "core/CString.h"

#include <string>

// For the windows and the files: GBK on Windows, "错误 <number>" where the system has no words.
CString SystemErrorText(unsigned long error);
// For the console: UTF-8 on Windows, "error <number>" where the system has no words.
std::string SystemErrorUtf8(unsigned long error);
