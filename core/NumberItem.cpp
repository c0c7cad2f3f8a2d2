#include "NumberItem.h"

#include "FixedFormat.h"

#include <algorithm>
#include <charconv>

NumberItemMaker::NumberItemMaker(const NumberOptions& opt)
    : m_opt(opt), m_nWholeLo(TruncToInt(opt.m_fMin)), m_nWholeHi(TruncToInt(opt.m_fMax)),
      m_nTenThousandthsLo(TenThousandths(opt.m_fMin)),
      m_nTenThousandthsHi(TenThousandths(opt.m_fMax))
{
}

NumberItemMaker::NumberItemMaker(const NumberOptions& opt, const ExactRange& range)
    : NumberItemMaker(opt)
{
    m_range = range;
    std::int64_t high;
    if (range.decimal && range.decimalLow.ToInt64(m_fastLow) &&
        (range.decimalLow + range.decimalCount - BigInt::FromUnsigned(1)).ToInt64(high)) {
        m_fast = true;
        m_fastSpan = static_cast<std::uint64_t>(high) - static_cast<std::uint64_t>(m_fastLow);
    }
}

void NumberItemMaker::Append(std::string& out, RandomSource& rng) const
{
    float v = NUMBER_ITEM_MARKER;
    do {
        const int kind = rng.Between(1, 2);
        if (kind == 1 && m_opt.m_bInteger) {
            char buf[12];
            const auto res =
                std::to_chars(buf, buf + sizeof buf, rng.Between(m_nWholeLo, m_nWholeHi));
            out.append(buf, res.ptr);
            return;
        }
        if (kind == 2 && m_opt.m_bFloat) {
            v = static_cast<float>(
                FloatFromTenThousandths(rng, m_nTenThousandthsLo, m_nTenThousandthsHi));
            AppendFixed(out, v, m_opt.m_nDecimals);
        }
        // A kind that is not chosen leaves the marker and draws the kind again.
    } while (v == NUMBER_ITEM_MARKER);
}

void NumberItemMaker::Append(std::string& out, UniformSource& source) const
{
    const bool decimal = m_range.decimal && (!m_range.whole || source.UpTo(1) == 1);
    if (!decimal)
        AppendScaled(out,
                     static_cast<std::int64_t>(static_cast<std::uint64_t>(m_range.wholeLow) +
                                               source.UpTo(m_range.wholeSpan)),
                     0);
    else if (m_fast)
        AppendScaled(out,
                     static_cast<std::int64_t>(static_cast<std::uint64_t>(m_fastLow) +
                                               source.UpTo(m_fastSpan)),
                     m_range.decimals);
    else
        (m_range.decimalLow + m_range.decimalCount.Below(source))
            .AppendFixed(out, m_range.decimals);
}

void NumberItemMaker::AppendNumbered(std::string& out, std::uint64_t index) const
{
    if (!m_range.decimal)
        AppendScaled(
            out, static_cast<std::int64_t>(static_cast<std::uint64_t>(m_range.wholeLow) + index),
            0);
    else if (m_fast)
        AppendScaled(out, static_cast<std::int64_t>(static_cast<std::uint64_t>(m_fastLow) + index),
                     m_range.decimals);
    else
        (m_range.decimalLow + BigInt::FromUnsigned(index)).AppendFixed(out, m_range.decimals);
}

namespace {

// Characters of n written in decimal, its sign included.
long long DecimalWidth(long long n)
{
    long long width = n < 0 ? 2 : 1;
    for (unsigned long long m = n < 0 ? 0ULL - n : n; m >= 10; m /= 10)
        ++width;
    return width;
}

} // namespace

bool ClassicHoldsDecimal(float bound)
{
    const double tenThousandths = static_cast<double>(bound) * 10000.0;
    return tenThousandths < 2147483648.0 && tenThousandths > -2147483649.0;
}

bool ClassicHoldsWhole(const TypedDecimal& bound)
{
    TypedDecimal low, high; // the first whole numbers that truncate outside 32 bits
    low.Read("-2147483649");
    high.Read("2147483648");
    return Compare(bound, low) > 0 && Compare(bound, high) < 0;
}

ClassicReach ClassicCut(const NumberOptions& o)
{
    if (o.m_bInteger)
        if (ClassicReach cut = ClassicCut(TruncToInt(o.m_fMin), TruncToInt(o.m_fMax)))
            return cut;
    const int a = TenThousandths(o.m_fMin), b = TenThousandths(o.m_fMax);
    const long long values = ClassicFloatValues(a, b);
    if (!o.m_bFloat || values >= static_cast<long long>(b) - a)
        return std::nullopt;
    std::pair<std::string, std::string> cut;
    AppendScaled(cut.first, a, 4);
    AppendScaled(cut.second, a + values - 1, 4);
    return cut;
}

long long LongestNumberItem(const NumberOptions& o)
{
    // A drawn value lies between the bounds as the items take them, so it is never wider than the
    // wider of the two.
    long long longest = 0;
    if (o.m_bInteger)
        longest = std::max(DecimalWidth(TruncToInt(o.m_fMin)), DecimalWidth(TruncToInt(o.m_fMax)));
    if (o.m_bFloat) {
        const long long a = TenThousandths(o.m_fMin), b = TenThousandths(o.m_fMax);
        // Rounding to the decimals may carry into one more whole digit (99.9999 as "100.00").
        const long long whole = std::max(a < 0 ? -a : a, b < 0 ? -b : b) / 10000 + 1;
        const long long sign = a < 0 || b < 0 ? 1 : 0;
        longest = std::max(longest, sign + DecimalWidth(whole) + 1 + o.m_nDecimals);
    }
    return longest;
}

long long LongestNumberItem(const ExactRange& range)
{
    // The items are the bounds' grid written exactly: the widest is one of the two ends.
    long long longest = 0;
    if (range.whole) {
        const auto high =
            static_cast<std::int64_t>(static_cast<std::uint64_t>(range.wholeLow) + range.wholeSpan);
        longest = std::max(DecimalWidth(range.wholeLow), DecimalWidth(high));
    }
    if (range.decimal) {
        const long long decimals = range.decimals;
        const auto width = [decimals](const BigInt& n) {
            // "0.05": at least one whole digit before the point.
            return (n.Negative() ? 1 : 0) + std::max(n.DecimalDigits(), decimals + 1) +
                   (decimals > 0 ? 1 : 0);
        };
        const BigInt high = range.decimalLow + range.decimalCount - BigInt::FromUnsigned(1);
        longest = std::max({longest, width(range.decimalLow), width(high)});
    }
    return longest;
}

CString MakeNumberItem(const NumberOptions& opt, RandomSource& rng)
{
    std::string text;
    NumberItemMaker(opt).Append(text, rng);
    return CString(std::move(text));
}
