#pragma once
// One random string of the strings page: a body of random characters from the chosen classes, a
// fixed head and tail, then texts inserted at byte positions.

#include "CString.h"
#include "Types.h"

struct StringOptions {
    BOOL m_bUpper;       // class 1: 'A'..'Z'
    BOOL m_bLower;       // class 2: 'a'..'z'
    BOOL m_bDigit;       // class 3: '0'..'9'
    BOOL m_bHanzi;       // class 4: a GB2312 level-1 Chinese character, two bytes
    CString m_strHead;   // put before the body when not empty
    CString m_strTail;   // put after the body when not empty
    CString m_strInsert; // "pos|text|pos|text..." with positions from the largest to the smallest
    int m_nLenMin;       // body length in characters; may be zero or negative
    int m_nLenMax;
};

// Callers guarantee at least one class and m_nLenMin <= m_nLenMax. Chinese characters and the
// insertion spec go through g_pCore, which must exist.
CString MakeString(const StringOptions& opt);
CString RandomChar(const StringOptions& opt);
CString RandomHanzi();
CString ApplyInserts(const StringOptions& opt, CString s);
