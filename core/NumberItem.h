#pragma once
// One item of the numbers page: a whole number or a decimal number within the page's range.

#include "CString.h"
#include "Types.h"

struct NumberOptions {
    BOOL m_bInteger; // kind 1, whole numbers
    BOOL m_bFloat;   // kind 2, decimal numbers
    float m_fMin;    // the range, held in single precision
    float m_fMax;
    int m_nCount;    // items per run; the page's, not read here
    int m_nDecimals; // digits after the point of a decimal item; read only with m_bFloat
};

// The value a decimal item starts from, meaning "nothing made yet": no draw of RandFloat equals it.
constexpr float NUMBER_ITEM_MARKER = -0.123456f;

// Callers guarantee at least one kind, m_fMin <= m_fMax and, with m_bFloat, m_nDecimals >= 0.
CString MakeNumberItem(const NumberOptions& opt);
// The same, appended to out: the numbers page builds long lists without a copy per item.
void AppendNumberItem(CString& out, const NumberOptions& opt);
