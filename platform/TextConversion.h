#pragma once
// Text conversions, one implementation each per platform: GBK (every text of the program) to and
// from UTF-8 and the console's GB18030, for the window and the console alike; and on Windows GBK
// (code page 936) and UTF-8 to and from UTF-16 at the window system's boundary, so that the
// program's texts read right on a Windows of any language, whatever its ANSI code page.

#include "core/CString.h"

#include <cstddef>
#include <string>
#include <string_view>

// Appends the GBK text to utf8 as UTF-8: a lead byte without its trail and any pair without a
// character become U+FFFD, and never take the byte after them along.
void AppendUtf8FromGbk(std::string_view gbk, std::string& utf8);
// UTF-8 to GBK; false when the text is not UTF-8 or holds a character GBK cannot spell.
bool GbkFromUtf8(std::string_view utf8, std::string& gbk);
// Whether the bytes are UTF-8 text (Linux arguments are bytes; Windows ones come as UTF-16).
bool IsUtf8(std::string_view bytes);
// UTF-8 to GB18030 by the system's own converter (every character has a GB18030 form); false when
// the system has none (Wine has no code page 54936).
bool CanWriteGb18030();
void AppendGb18030FromUtf8(std::string_view utf8, std::string& gb18030);

#ifndef _WIN32
// GB18030 to UTF-8 (a terminal's text under a GB18030 locale); false when it is not GB18030.
bool Utf8FromGb18030(std::string_view gb18030, std::string& utf8);
#endif

#ifdef _WIN32
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
std::string Utf8FromWide(std::wstring_view wide);

// AppendUtf8FromGbk in pieces of the given size.
void AppendUtf8FromGbk(std::string_view gbk, std::string& utf8, std::size_t piece);
#endif
