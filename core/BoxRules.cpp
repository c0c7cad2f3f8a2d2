#include "BoxRules.h"

#include <algorithm>

void ListSize::Add(std::string_view text)
{
    m_nBytes += static_cast<std::int64_t>(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = text.find('\n', at);
        if (end == std::string_view::npos) {
            m_nOpenLine += static_cast<std::int64_t>(text.size() - at);
            m_bOpenCr = text.back() == '\r';
            return;
        }
        std::int64_t line = m_nOpenLine + static_cast<std::int64_t>(end - at);
        if (end > at ? text[end - 1] == '\r' : m_bOpenCr)
            --line; // the CR of a CR LF is the line's end too
        m_nLongest = std::max(m_nLongest, line);
        m_nOpenLine = 0;
        m_bOpenCr = false;
        ++m_nLines;
        at = end + 1;
    }
}

bool ListSize::FitsTheBox() const
{
    return m_nBytes <= MAX_SHOWN_BYTES && Lines() <= MAX_SHOWN_LINES &&
           LongestLine() <= MAX_SHOWN_LINE_BYTES;
}

bool FitsTheBox(std::string_view list)
{
    ListSize size;
    size.Add(list);
    return size.FitsTheBox();
}
