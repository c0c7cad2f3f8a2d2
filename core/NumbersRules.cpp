#include "NumbersRules.h"

Wording CheckNumbers(const NumbersInput& in, NumberOptions& o)
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
    return {};
}
