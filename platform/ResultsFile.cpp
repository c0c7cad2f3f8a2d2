#include "ResultsFile.h"

#include "SystemError.h"

#include <algorithm>
#include <string>

void CResultsFile::Count(std::string_view written)
{
    if (m_written < HEAD_BYTES)
        m_head.Add(written.substr(0, HEAD_BYTES - static_cast<std::size_t>(m_written)));
    m_checksum.Add(written);
    m_written += written.size();
}

bool CResultsFile::Verify()
{
    std::uint64_t size = 0;
    if (!SizeNow(size))
        return false;
    bool whole = size == m_written;
    if (whole) {
        std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(m_written, HEAD_BYTES)),
                         '\0');
        std::size_t have = 0;
        for (std::size_t got = 1; have < head.size() && got > 0; have += got)
            if (!ReadAt(have, head.data() + have, head.size() - have, got))
                return false;
        ByteChecksum read;
        read.Add(std::string_view(head).substr(0, have));
        whole = have == head.size() && read == m_head;
    }
    if (!whole && m_error == 0)
        m_error = ERROR_ALTERED;
    return whole;
}

bool CResultsFile::ReadBack(const std::function<bool(std::string_view)>& piece)
{
    if (!Verify())
        return false;
    const ReadBackEnd end =
        ReadBackChecked([this](std::uint64_t offset, char* buf, std::size_t size,
                               std::size_t& got) { return ReadAt(offset, buf, size, got); },
                        piece, m_written, m_checksum);
    if (end == ReadBackEnd::Altered)
        m_error = ERROR_ALTERED;
    return end == ReadBackEnd::Whole;
}

CString CResultsFile::ErrorText() const
{
    switch (m_error) {
    case 0:
        return CString();
    case ERROR_IS_LINK:
        return "该文件名是一个链接，链接和它所指向的文件都保持原样。";
    case ERROR_ALTERED:
        return MSG_RESULTS_ALTERED;
    case ERROR_NOT_PLAIN_FILE:
        return "该文件名不是普通文件，保持原样。";
    default:
        return SystemErrorText(m_error);
    }
}
