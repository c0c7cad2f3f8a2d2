#pragma once
// What a page's output box shows, one rule for every page: a list within these sizes goes into the
// box, a piece at a time with progress and Stop; a larger one is left to Export, and the box says
// so. The sizes come from filling Wine's edit box (bench/window_bench.cpp, `box`): its work grows
// with the lines, and with the square of a line's length when the line is all digits, so a line of
// at most MAX_SHOWN_LINE_BYTES keeps the worst list of MAX_SHOWN_BYTES within a few seconds.

#include <cstdint>
#include <string_view>

// The whole list, line ends included.
constexpr std::int64_t MAX_SHOWN_BYTES = 4LL << 20;
constexpr std::int64_t MAX_SHOWN_LINES = 200000;
// One line, without its line end: 2000 Chinese characters take 4000 bytes.
constexpr std::int64_t MAX_SHOWN_LINE_BYTES = 4096;

// The box's words for a finished list it does not show.
constexpr const char* MSG_LIST_TOO_LARGE = "生成完成，列表过大不在此显示，请单击导出按钮。";

// The size of a list of lines ended by line feeds, taken a piece at a time (a line may be cut
// between pieces).
class ListSize {
public:
    void Add(std::string_view text);
    bool FitsTheBox() const;
    std::int64_t Bytes() const { return m_nBytes; }
    // Lines ended so far, and a last one without its end.
    std::int64_t Lines() const { return m_nLines + (m_nOpenLine > 0 ? 1 : 0); }
    // Bytes of the longest line, its line end aside.
    std::int64_t LongestLine() const { return m_nLongest > m_nOpenLine ? m_nLongest : m_nOpenLine; }

private:
    std::int64_t m_nBytes = 0;
    std::int64_t m_nLines = 0;
    std::int64_t m_nLongest = 0;  // of the lines ended
    std::int64_t m_nOpenLine = 0; // bytes of the line not yet ended
    bool m_bOpenCr = false;       // and whether they end in a CR
};

// Whether the box shows a list (lines ended by CR LF) whole.
bool FitsTheBox(std::string_view list);
