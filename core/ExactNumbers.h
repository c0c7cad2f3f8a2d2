#pragma once
// Exact numbers, from the bounds as typed, with no float between them and the output: whole numbers
// uniform over every whole number from the lower to the upper bound (64-bit), and decimals uniform
// over every multiple of 10^-decimals between them, both ends with full weight, written exactly
// ("0.1000000000", never "-0.00").

#include "UniformSource.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// A whole number of any size: the decimals' grid can be wider than 64 bits (20 decimals from 0 to
// 1 are 10^20 + 1 numbers).
class BigInt {
public:
    BigInt() = default;
    // Decimal digits, the most significant first.
    static BigInt FromDigits(std::string_view digits, bool negative);
    static BigInt FromUnsigned(std::uint64_t value);
    bool IsZero() const { return m_limbs.empty(); }
    bool Negative() const { return m_negative; }
    friend BigInt operator+(const BigInt& a, const BigInt& b);
    friend BigInt operator-(const BigInt& a, const BigInt& b);
    friend int Compare(const BigInt& a, const BigInt& b); // -1, 0, 1
    // Uniform from 0 to *this - 1; *this is above 0.
    BigInt Below(UniformSource& source) const;
    bool ToInt64(std::int64_t& value) const;
    // The value, or DISTINCT_MANY when it is at least that.
    std::uint64_t Saturated() const;
    // Appends this number times 10^-decimals, written with that many decimals.
    void AppendFixed(std::string& out, int decimals) const;
    // Decimal digits of the magnitude; 1 for zero.
    long long DecimalDigits() const;

private:
    static constexpr std::uint32_t BASE = 1000000000;
    static int CompareMagnitudes(const BigInt& a, const BigInt& b);
    static BigInt AddMagnitudes(const BigInt& a, const BigInt& b, bool negative);
    static BigInt SubtractMagnitudes(const BigInt& a, const BigInt& b, bool negative); // |a| >= |b|
    void Trim();

    bool m_negative = false;            // never for zero
    std::vector<std::uint32_t> m_limbs; // base 10^9, the least significant first; none for zero
};

// A decimal number as the command line takes it (an optional sign, digits with an optional '.'
// fraction, an optional exponent), held exactly.
class TypedDecimal {
public:
    // False when the text is not such a number.
    bool Read(std::string_view text);
    // The value times 10^decimals, rounded up or down to a whole number.
    BigInt Scaled(int decimals, bool roundUp) const;
    friend int Compare(const TypedDecimal& a, const TypedDecimal& b); // -1, 0, 1

private:
    bool m_negative = false;
    std::string m_digits;  // without leading and trailing zeros; empty for zero
    long long m_point = 0; // the value is 0.<digits> times 10^m_point
};

struct ExactRange {
    bool whole = false, decimal = false;
    std::int64_t wholeLow = 0;
    std::uint64_t wholeSpan = 0;     // whole numbers wholeLow .. wholeLow + wholeSpan
    BigInt decimalLow, decimalCount; // decimals (decimalLow + i) * 10^-decimals, i < decimalCount
    int decimals = 0;
};

enum class RangeProblem {
    None,
    MinOutOfRange, // whole numbers: a bound beyond the 64-bit whole numbers
    MaxOutOfRange,
    NoWholeNumber, // no whole number lies between the bounds
    NoDecimal,     // no number with that many decimals lies between the bounds
};

// The range of the chosen kinds between min and max (min <= max).
RangeProblem MakeExactRange(const TypedDecimal& min, const TypedDecimal& max, bool whole,
                            bool decimal, int decimals, ExactRange& range);

// Appends value times 10^-decimals with that many decimals.
void AppendScaled(std::string& out, std::int64_t value, int decimals);
