#include "BoxFiller.h"

#include <algorithm>

void CBoxFiller::Start(CWnd owner, int boxId, std::string text, Done done)
{
    if (text.size() <= FILL_PIECE_BYTES) {
        const std::int64_t lines = std::count(text.begin(), text.end(), '\n');
        owner.SetDlgItemText(boxId, CString(std::move(text)));
        done(false, lines);
        return;
    }
    m_owner = owner;
    m_nBoxId = boxId;
    m_text = std::move(text);
    m_nAt = 0;
    m_nLines = 0;
    m_bFilling = true;
    m_bStop = false;
    m_done = std::move(done);
    m_owner.SetDlgItemText(boxId, "");
    m_owner.SendDlgItemMessage(boxId, EM_SETLIMITTEXT, 0); // appending is held to the limit
    // A timer, not a posted message: input and painting come before it.
    m_owner.SetTimer(m_nTimerId, 1);
}

bool CBoxFiller::OnTimer(UINT id)
{
    if (id != m_nTimerId)
        return false;
    m_owner.KillTimer(m_nTimerId);
    NextPiece();
    return true;
}

void CBoxFiller::Cancel()
{
    if (m_owner.m_hWnd)
        m_owner.KillTimer(m_nTimerId);
    m_bFilling = false;
    std::string().swap(m_text);
    m_done = nullptr;
}

void CBoxFiller::NextPiece()
{
    if (!m_bFilling)
        return;
    if (m_bStop || m_nAt >= m_text.size()) {
        const bool stopped = m_nAt < m_text.size();
        m_bFilling = false;
        std::string().swap(m_text);
        CWnd box = m_owner.GetDlgItem(m_nBoxId);
        box.SendMessage(EM_SETSEL, 0, 0); // the list is read from its top, as when set at once
        box.SendMessage(EM_SCROLLCARET);
        auto done = std::move(m_done);
        done(stopped, m_nLines);
        return;
    }
    // Whole lines, at least one, of about one piece.
    std::size_t end = m_nAt;
    while (end < m_text.size() && (end == m_nAt || end - m_nAt < FILL_PIECE_BYTES)) {
        std::size_t next = m_text.find('\n', end);
        next = next == std::string::npos ? m_text.size() : next + 1;
        end = next;
        ++m_nLines;
    }
    AppendToBox(m_owner.GetDlgItem(m_nBoxId), std::string_view(m_text).substr(m_nAt, end - m_nAt));
    m_nAt = end;
    m_owner.SetTimer(m_nTimerId, 1);
}
