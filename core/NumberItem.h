#pragma once
// One item of the numbers page: a whole number or a decimal number within the page's range.

#include "CString.h"
#include "Random.h"
#include "Types.h"

#include <string>

struct NumberOptions {
    BOOL m_bInteger = 0; // kind 1, whole numbers
    BOOL m_bFloat = 0;   // kind 2, decimal numbers
    float m_fMin = 0;    // the range, held in single precision
    float m_fMax = 0;
    int m_nCount = 0;    // items per run; the page's, not read here
    int m_nDecimals = 0; // digits after the point of a decimal item; read only with m_bFloat
};

// The value a decimal item starts from, meaning "nothing made yet": no draw of RandFloat equals it.
constexpr float NUMBER_ITEM_MARKER = -0.123456f;

// Makes the items of one run: the bounds are converted once.
class NumberItemMaker {
public:
    explicit NumberItemMaker(const NumberOptions& opt);
    // Appends one item to out.
    void Append(std::string& out, RandomSource& rng) const;

private:
    NumberOptions m_opt;
    int m_nWholeLo, m_nWholeHi; // the bounds truncated toward zero
    int m_nTenThousandthsLo, m_nTenThousandthsHi;
};

// Callers guarantee at least one kind, m_fMin <= m_fMax and, with m_bFloat, m_nDecimals >= 0.
CString MakeNumberItem(const NumberOptions& opt, RandomSource& rng = TheRandomSource());
