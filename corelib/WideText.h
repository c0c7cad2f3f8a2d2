#pragma once
// GBK (code page 936) <-> UTF-16 at the window system's boundary, so that the program's texts read
// right on a Windows of any language, not only where the ANSI code page is 936.

#include "core/CString.h"

#include <string>
#include <string_view>

constexpr unsigned CP_GBK = 936;

std::wstring WideFromGbk(std::string_view gbk);
// lossy, when given, tells whether a character had no GBK form and was replaced.
CString GbkFromWide(std::wstring_view wide, bool* lossy = nullptr);

// Appends the GBK text to utf8 as UTF-8, an orphaned lead byte as U+FFFD (as WideFromGbk does).
void AppendUtf8FromGbk(std::string_view gbk, std::string& utf8);

// The system's own words for an error number (GetLastError), in GBK, without the line end.
CString SystemErrorText(unsigned long error);
