#pragma once
// The shape of GBK text: a lead byte 0x81..0xFE and a trail byte 0x40..0x7E or 0x80..0xFE make one
// two-byte character; every other byte stands alone. Positions count bytes and may split a
// character, so a text can hold a lead byte whose trail is missing: at the end, or before a byte
// that cannot be a trail (ASCII below 0x40, CR LF). Converters must not let such an orphan swallow
// the byte after it.

#include <cstddef>
#include <string_view>

inline bool IsGbkLead(unsigned char c)
{
    return c >= 0x81 && c <= 0xFE;
}

inline bool IsGbkTrail(unsigned char c)
{
    return (c >= 0x40 && c <= 0x7E) || (c >= 0x80 && c <= 0xFE);
}

// Whether every byte is ASCII, the text the same in every encoding.
inline bool IsAscii(std::string_view bytes)
{
    unsigned char any = 0; // or-ed in one pass, which the compiler vectorises
    for (char c : bytes)
        any |= static_cast<unsigned char>(c);
    return any < 0x80;
}

// The position of the first orphaned lead byte at or after from, or npos.
std::size_t FindOrphanLead(std::string_view gbk, std::size_t from = 0);
