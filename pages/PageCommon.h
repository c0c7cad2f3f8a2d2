#pragma once
// What the three pages share: the generate timer, the limits of an output, the message box.

#include "framework/Dialog.h"

#include <string_view>

// Window-timer identifier of the strings and the interval page, each on its own window.
constexpr UINT GENERATE_TIMER_ID = 1;
// The strings page shows a batch of at most this many strings in its box.
constexpr int MAX_SHOWN_ITEMS = 1000;
// Largest text one run may build in memory: a 32-bit process also needs room for its UTF-16 copy
// and the edit control's own.
constexpr long long MAX_OUTPUT_BYTES = 64LL << 20;

// What filling an output box with lines costs, in milliseconds. The edit control's work grows with
// the number of lines and with the square of each line's length: measured under Wine, 100,000
// lines of 9 characters take 1.4 s, one line of 30,000 characters 1.2 s (Windows is faster).
inline double LineFillMs(std::size_t length)
{
    const double n = static_cast<double>(length);
    return 0.013 + 0.0003 * n + 0.000001 * n * n;
}
double TextFillMs(std::string_view text);
// Filling a box a piece at a time also costs, with every piece, time in proportion to the lines
// already in it: measured under Wine, 400,000 short lines took 8.6 s and 800,000 took 27.9 s in
// pieces of about 100 ms. The whole fill of lines lines of length bytes each:
inline double PiecewiseFillMs(long long lines, std::size_t length)
{
    const double n = static_cast<double>(lines);
    return n * LineFillMs(length) + 3.3e-8 * n * n;
}
// A list that fills its box within this time is shown; the numbers page refuses a longer one, the
// strings page points to Export instead.
constexpr double MAX_FILL_MS = 2000;

// Appends GBK text at the end of an edit box: what it holds already is not set again.
void AppendToBox(CWnd box, std::string_view gbk);

// Every message of the pages: modal, empty caption, one OK button, no icon.
inline void PageMessage(CWnd& page, const CString& text)
{
    page.MessageBox(text, "", MB_OK);
}

// Reports the first invalid setting of a page's CheckInput, which then returns FALSE.
inline BOOL RefuseSetting(CWnd& page, const CString& message)
{
    PageMessage(page, message);
    return FALSE;
}
