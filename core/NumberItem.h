#pragma once
// One item of the numbers page: a whole number or a decimal number within the page's range.

#include "CString.h"
#include "ExactNumbers.h"
#include "Random.h"
#include "Types.h"
#include "UniformSource.h"

#include <cstdint>
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

// Makes the items of one run: the bounds are converted once. One maker, two kinds of draws: the
// numbers page's classic ones from the 15-bit source, and exact ones from a uniform 64-bit source
// over an exact range.
class NumberItemMaker {
public:
    // The classic draws, from opt.
    explicit NumberItemMaker(const NumberOptions& opt);
    // Also exact draws, from range (the bounds as typed).
    NumberItemMaker(const NumberOptions& opt, const ExactRange& range);

    // Appends one item, drawn as the numbers page draws it.
    void Append(std::string& out, RandomSource& rng) const;
    // Appends one item, drawn exactly: with both kinds, either kind with the same chance, as on
    // the page.
    void Append(std::string& out, UniformSource& source) const;
    // One kind only: its item number index, counting from the lowest.
    void AppendNumbered(std::string& out, std::uint64_t index) const;

private:
    NumberOptions m_opt;
    int m_nWholeLo, m_nWholeHi; // the bounds truncated toward zero
    int m_nTenThousandthsLo, m_nTenThousandthsHi;
    ExactRange m_range;
    bool m_fast = false; // the range's decimals fit 64 bits: no BigInt per item
    std::int64_t m_fastLow = 0;
    std::uint64_t m_fastSpan = 0;
};

// Whether the classic draws hold a bound as typed: whole numbers are drawn between the bounds
// truncated to 32 bits, decimals in ten-thousandths held in 32 bits (-214748.3648 to
// 214748.3647). A bound beyond would be clamped, and every item would lie outside the range given.
bool ClassicHoldsDecimal(float bound);
bool ClassicHoldsWhole(const TypedDecimal& bound);
// What the classic draws from o reach of its range, when not all of it: whole numbers up to
// RAND_DRAW_MAX above the lower bound, decimals up to RAND_DRAW_MAX squared ten-thousandths above
// it (written with four decimals).
ClassicReach ClassicCut(const NumberOptions& o);

// The most bytes one item takes, its line end aside: of the classic draws from o, and of the
// exact ones from range.
long long LongestNumberItem(const NumberOptions& o);
long long LongestNumberItem(const ExactRange& range);

// Callers guarantee at least one kind, m_fMin <= m_fMax and, with m_bFloat, m_nDecimals >= 0.
CString MakeNumberItem(const NumberOptions& opt, RandomSource& rng = TheRandomSource());
