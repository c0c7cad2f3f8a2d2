#include "HeldBatch.h"

void CHeldBatch::Clear()
{
    std::string().swap(m_text);
    m_size = ListSize();
    m_file.reset();
}

bool CHeldBatch::Write(std::string_view records)
{
    m_size.Add(records);
    if (!m_file && m_size.Bytes() <= MAX_SHOWN_BYTES) {
        m_text.append(records);
        return true;
    }
    if (!m_file) {
        // Too large for the box: what memory holds goes to the file, and the rest after it.
        m_file = std::make_unique<CTemporaryFile>();
        if (!m_file->Write(m_text))
            return false;
        std::string().swap(m_text);
    }
    return m_file->Write(records);
}

bool CHeldBatch::ReadBack(const std::function<bool(std::string_view)>& piece)
{
    return m_file ? m_file->ReadBack(piece) : piece(m_text);
}
