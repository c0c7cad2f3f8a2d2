#include "ComposerSources.h"

#include <string_view>

int TwisterIntegers::Between(int lo, int hi)
{
    if (hi <= lo)
        return lo;
    return std::uniform_int_distribution<int>(lo, hi)(m_rng);
}

CString FieldWalker::Field(const CString& src, char sep, int index)
{
    if (index < 0)
        return CString();
    std::string_view s = src.View();
    std::size_t start = 0;
    int at = 0;
    if (index >= m_index && sep == m_sep && s == m_source) {
        start = m_start;
        at = m_index;
    } else {
        m_source.assign(s);
        m_sep = sep;
    }
    for (; at < index; ++at) {
        const std::size_t next = s.find(sep, start);
        if (next == std::string_view::npos) {
            m_index = 0; // past the last field: start afresh next time
            m_start = 0;
            return CString();
        }
        start = next + 1;
    }
    m_index = index;
    m_start = start;
    const std::size_t end = s.find(sep, start);
    return CString(
        s.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start));
}

ComposerSources SourcesOf(TwisterIntegers& integers, FieldWalker& fields)
{
    return ComposerSources{
        .randInt = [&integers](int lo, int hi) { return integers.Between(lo, hi); },
        .field = [&fields](const CString& src, char sep,
                           int index) { return fields.Field(src, sep, index); },
    };
}
