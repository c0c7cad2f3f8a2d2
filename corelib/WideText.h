#pragma once
// GBK (code page 936) <-> UTF-16 at the window system's boundary, so that the program's texts read
// right on a Windows of any language, not only where the ANSI code page is 936.

#include "core/CString.h"

#include <cstddef>
#include <string>
#include <string_view>

constexpr unsigned CP_GBK = 936;

// Win32 converts at most INT_MAX units at a time; longer texts go in pieces of this many, never
// cutting a character (a piece is at least 4, a UTF-8 character; tests pass small ones to see the
// cuts).
constexpr std::size_t CONVERT_PIECE = std::size_t{1} << 30;

std::wstring WideFromGbk(std::string_view gbk, std::size_t piece = CONVERT_PIECE);
// lossy, when given, tells whether a character had no GBK form and was replaced.
CString GbkFromWide(std::wstring_view wide, bool* lossy = nullptr,
                    std::size_t piece = CONVERT_PIECE);

// UTF-8 to UTF-16, bytes that are not UTF-8 as U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8, std::size_t piece = CONVERT_PIECE);
// The same, but false, with wide empty, when the bytes are not UTF-8.
bool WideFromStrictUtf8(std::string_view utf8, std::wstring& wide,
                        std::size_t piece = CONVERT_PIECE);
// Appends UTF-16 to out in a Windows code page (CP_UTF8, CP_GBK, ...); lossy, when given (not for
// UTF-8), tells whether a character had no form there and was replaced.
void AppendFromWide(std::string& out, std::wstring_view wide, unsigned codePage,
                    bool* lossy = nullptr, std::size_t piece = CONVERT_PIECE);

// Appends the GBK text to utf8 as UTF-8, an orphaned lead byte as U+FFFD (as WideFromGbk does).
void AppendUtf8FromGbk(std::string_view gbk, std::string& utf8, std::size_t piece = CONVERT_PIECE);

// The system's own words for an error number (GetLastError), in GBK, without the line end.
CString SystemErrorText(unsigned long error);
// The same words as the system gives them (UTF-16), or nothing when it has none.
std::wstring SystemErrorWords(unsigned long error);
