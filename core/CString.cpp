#include "CString.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>

std::size_t CString::Insert(long long pos, std::string_view text)
{
    if (pos < 0)
        pos = 0;
    if (static_cast<unsigned long long>(pos) > m_s.size())
        pos = static_cast<long long>(m_s.size());
    m_s.insert(static_cast<std::size_t>(pos), text);
    return m_s.size();
}

CString& CString::TrimLeft()
{
    std::size_t i = 0;
    while (i < m_s.size() && IsSingleByteSpace(m_s[i]))
        ++i;
    m_s.erase(0, i);
    return *this;
}

CString& CString::TrimRight()
{
    std::size_t n = m_s.size();
    while (n > 0 && IsSingleByteSpace(m_s[n - 1]))
        --n;
    m_s.resize(n);
    return *this;
}

void CString::AppendInt(long long value)
{
    char buf[24];
    auto res = std::to_chars(buf, buf + sizeof buf, value);
    m_s.append(buf, res.ptr);
}

CString CString::FromInt(long long value)
{
    CString s;
    s.AppendInt(value);
    return s;
}

CString CString::Format(const char* format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    CString s;
    if (n > 0) {
        s.m_s.resize(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(s.m_s.data(), s.m_s.size(), format, again);
        s.m_s.resize(static_cast<std::size_t>(n));
    }
    va_end(again);
    return s;
}
