#pragma once
// The text type of the whole program: a byte string in GBK (code page 936). Lengths and positions
// count bytes; a Chinese character takes two and nothing here looks at character boundaries.
// Texts become UTF-16 only at the window system's boundary.

#include <cstddef>
#include <string>
#include <string_view>

// GCC checks the formats as the C99 printf of the GNU or mingw runtime (plain printf under mingw
// would mean Microsoft's); clang, which builds the fuzz targets, knows only printf.
#ifdef __clang__
#define ZANFOR_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#else
#define ZANFOR_PRINTF_FORMAT(f, a) __attribute__((format(gnu_printf, f, a)))
#endif

class CString {
public:
    CString() = default;
    CString(const char* text) : m_s(text ? text : "") {}
    CString(std::string_view text) : m_s(text) {}
    CString(std::string text) : m_s(std::move(text)) {}

    int GetLength() const { return static_cast<int>(m_s.size()); }
    std::size_t size() const { return m_s.size(); }
    bool IsEmpty() const { return m_s.empty(); }
    void Empty() { m_s.clear(); }
    void Reserve(std::size_t bytes) { m_s.reserve(bytes); }

    const char* GetString() const { return m_s.c_str(); }
    std::string_view View() const { return m_s; }
    const std::string& Str() const { return m_s; }
    char operator[](std::size_t i) const { return m_s[i]; }

    CString& operator+=(const CString& text)
    {
        m_s += text.m_s;
        return *this;
    }
    CString& operator+=(std::string_view text)
    {
        m_s += text;
        return *this;
    }
    CString& operator+=(const char* text)
    {
        m_s += text;
        return *this;
    }
    CString& operator+=(const std::string& text)
    {
        m_s += text;
        return *this;
    }
    CString& operator+=(char byte)
    {
        m_s += byte;
        return *this;
    }
    friend CString operator+(CString a, const CString& b) { return a += b; }
    friend CString operator+(CString a, const char* b) { return a += b; }
    friend CString operator+(const char* a, const CString& b) { return CString(a) += b; }
    friend bool operator==(const CString& a, const CString& b) = default;
    friend bool operator==(const CString& a, const char* b) { return a.m_s == b; }

    // Inserts text before byte pos; pos is clamped to the string, so a negative one inserts at the
    // start and one past the end appends. Returns the new length.
    std::size_t Insert(long long pos, std::string_view text);

    // Single-byte white space only (0x20, 0x09-0x0D): the second byte of a GBK character is never
    // below 0x40, so a two-byte character (the full-width blank among them) is never cut.
    CString& TrimLeft();
    CString& TrimRight();
    CString& Trim() { return TrimRight().TrimLeft(); }

    void AppendInt(long long value);
    static CString FromInt(long long value);
    // printf-style formatting, for the program's own fixed formats only.
    static CString Format(const char* format, ...) ZANFOR_PRINTF_FORMAT(1, 2);

private:
    std::string m_s;
};

inline bool IsSingleByteSpace(char c)
{
    return c == ' ' || (c >= '\t' && c <= '\r');
}
