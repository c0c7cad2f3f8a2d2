#pragma once
// What filling an edit box with lines costs, in milliseconds: the box filler cuts its pieces by
// it, and the pages decide by it whether a list is shown at all.

#include <cstddef>
#include <string_view>

// One line of length bytes. The edit control's work grows with the number of lines and with the
// square of each line's length: measured under Wine, 100,000 lines of 9 characters take 1.4 s, one
// line of 30,000 characters 1.2 s (Windows is faster).
inline double LineFillMs(std::size_t length)
{
    const double n = static_cast<double>(length);
    return 0.013 + 0.0003 * n + 0.000001 * n * n;
}

// Text of lines ended by line feeds, set at once.
double TextFillMs(std::string_view text);

// Filling a box a piece at a time also costs, with every piece, time in proportion to the lines
// already in it: measured under Wine, 400,000 short lines took 8.6 s and 800,000 took 27.9 s in
// pieces of about 100 ms. The whole fill of lines lines of length bytes each:
inline double PiecewiseFillMs(long long lines, std::size_t length)
{
    const double n = static_cast<double>(lines);
    return n * LineFillMs(length) + 3.3e-8 * n * n;
}

// Each piece of a fill takes about this long; a text that fills within it is set at once.
constexpr double FILL_PIECE_MS = 100;
