#include "StringsRules.h"

#include <algorithm>

Wording CheckStrings(const StringsInput& in, StringsSettings& s, bool reachesUpperBound)
{
    StringOptions& o = s.options;
    o.m_bUpper = in.upper;
    o.m_bLower = in.lower;
    o.m_bDigit = in.digit;
    o.m_bHanzi = in.hanzi;
    if (!o.m_bUpper && !o.m_bLower && !o.m_bDigit && !o.m_bHanzi && !in.others)
        return MSG_NO_CHAR_CLASS;
    o.m_strHead = in.head.gbk;
    o.m_strTail = in.tail.gbk;
    o.m_strInsert = in.insert.gbk;
    o.m_strInsert.TrimLeft();
    o.m_strInsert.TrimRight();
    // A replaced character would be written as '?' under a success: refused like a bad setting.
    if (in.head.unspellable)
        return MSG_HEAD_NOT_GBK;
    if (in.tail.unspellable)
        return MSG_TAIL_NOT_GBK;
    if (in.insert.unspellable)
        return MSG_INSERT_NOT_GBK;
    o.m_nLenMin = in.lenMin;
    o.m_nLenMax = in.lenMax;
    s.count = in.count;
    if (o.m_nLenMin > o.m_nLenMax)
        return MSG_BAD_LENGTH;
    if (s.count < 1)
        return MSG_BAD_COUNT;
    const int bodyBytes = std::max(o.m_bHanzi ? 2 : 1, in.others ? in.othersBytes : 1);
    if (LongestString(o, reachesUpperBound, bodyBytes) > MAX_STRING_BYTES)
        return MSG_STRING_TOO_LONG;
    return {};
}
