#pragma once
// GBK that carries every Unicode character: a character GBK can spell is its GBK bytes, one that
// it cannot rides as four bytes, 0xFF (which GBK never uses) and its code point in three groups of
// seven bits, each with the high bit set. Positions, fields and lengths keep working on bytes, a
// character beyond GBK counting four as in GB18030, and text without such a character is plain
// GBK. It is turned into UTF-8 (or GB18030 through UTF-8) on its way out.

#include <cstddef>
#include <string>
#include <string_view>

constexpr unsigned char BEYOND_GBK_LEAD = 0xFF;
constexpr std::size_t BEYOND_GBK_BYTES = 4;

// Appends the four bytes that carry code point cp (U+0080 and above).
void AppendBeyondGbk(std::string& out, char32_t cp);

// Reads the UTF-8 text character by character: spell(utf8Character, gbk) fills gbk and returns
// true when GBK can spell it. Returns false on bytes that are not UTF-8.
using SpellGbk = bool (*)(std::string_view utf8, std::string& gbk);
bool ExtendedGbkFromUtf8(std::string_view utf8, SpellGbk spell, std::string& out);

// The first character of the UTF-8 text that GBK cannot spell ("" when none), as UTF-8.
std::string FirstBeyondGbk(std::string_view utf8, SpellGbk spell);
// "U+1F600".
std::string CodePointName(std::string_view utf8Character);

// Appends the text as UTF-8: plain GBK runs through gbkToUtf8, a character beyond GBK as itself.
// A four-byte form that an insertion cut apart gives U+FFFD for its first piece; its last piece
// reads as GBK, as a cut GBK character's does. Neither ever gives a byte below 0x80.
using GbkToUtf8 = void (*)(std::string_view gbk, std::string& utf8);
void AppendUtf8FromExtendedGbk(std::string_view text, GbkToUtf8 gbkToUtf8, std::string& utf8);

// UTF-8 of one code point.
void AppendUtf8(std::string& out, char32_t cp);
// The code point of the UTF-8 character at text[at], and its length in n; false when there is
// none.
bool DecodeUtf8(std::string_view text, std::size_t at, char32_t& cp, std::size_t& n);
