#pragma once
// Fills an edit box with a long list a piece at a time between messages: the window stays alive
// while the edit control works, a Stop ends the fill at its next piece, and the lines shown so far
// are its progress. A list of one piece is set at once.

#include "Wnd.h"

#include <cstdint>
#include <functional>
#include <string>

// A piece of a fill: whole lines (at least one) of about this many bytes. Wine's edit box takes such
// a piece of any list a page shows in 75 ms at most (bench/window_bench.cpp, box).
constexpr std::size_t FILL_PIECE_BYTES = 64 * 1024;

class CBoxFiller {
public:
    // stopped: a Stop ended the fill before its last line; lines: the lines the box got.
    using Done = std::function<void(bool stopped, std::int64_t lines)>;

    // Paces its pieces with the owner's timer timerId, whose ticks the owner hands to OnTimer.
    explicit CBoxFiller(UINT timerId) : m_nTimerId(timerId) {}
    CBoxFiller(const CBoxFiller&) = delete;
    CBoxFiller& operator=(const CBoxFiller&) = delete;

    // Sets the box boxId of owner to text (GBK lines, each ended by CR LF), then calls done: before
    // returning when the text is one piece, else once the last piece is in or a Stop ended it.
    void Start(CWnd owner, int boxId, std::string text, Done done);
    bool IsFilling() const { return m_bFilling; }
    // Ends the fill at its next piece.
    void Stop() { m_bStop = true; }
    // Ends the fill now, without done: the window is going away.
    void Cancel();
    // A tick of the owner's timers: true when it was the filler's.
    bool OnTimer(UINT id);

private:
    void NextPiece();

    const UINT m_nTimerId;
    CWnd m_owner;
    int m_nBoxId = 0;
    std::string m_text;
    std::size_t m_nAt = 0;
    std::int64_t m_nLines = 0;
    bool m_bFilling = false;
    bool m_bStop = false;
    Done m_done;
};
