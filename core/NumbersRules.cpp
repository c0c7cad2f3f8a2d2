#include "NumbersRules.h"

#include <algorithm>

const char* CheckNumbers(const NumbersInput& in, NumberOptions& o)
{
    o.m_bInteger = in.integer;
    o.m_bFloat = in.decimal;
    if (!o.m_bInteger && !o.m_bFloat)
        return MSG_NO_NUMBER_KIND;
    o.m_fMin = in.min;
    o.m_fMax = in.max;
    o.m_nCount = in.count;
    if (o.m_bFloat) {
        o.m_nDecimals = in.decimals;
        if (o.m_nDecimals < 0)
            return MSG_BAD_DECIMALS;
    }
    if (o.m_fMin > o.m_fMax)
        return MSG_BAD_RANGE;
    if (o.m_nCount < 1)
        return MSG_BAD_COUNT;
    if (LongestNumberItem(o) > MAX_NUMBER_ITEM_BYTES)
        return MSG_TOO_MANY_DECIMALS;
    return nullptr;
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
