#include "StringComposer.h"

#include "FieldText.h"
#include "Random.h"
#include "corelib/Core.h"

CString MakeString(const StringOptions& opt)
{
    CString s;
    const int len = RandBetween(opt.m_nLenMin, opt.m_nLenMax);
    if (len > 0) {
        s.Reserve(static_cast<std::size_t>(len) * (opt.m_bHanzi ? 2 : 1));
        for (int i = 0; i < len; ++i)
            s += RandomChar(opt);
    }
    if (!opt.m_strHead.IsEmpty())
        s = opt.m_strHead + s;
    if (!opt.m_strTail.IsEmpty())
        s += opt.m_strTail;
    return ApplyInserts(opt, std::move(s));
}

CString RandomChar(const StringOptions& opt)
{
    for (;;) {
        switch (RandBetween(1, 4)) {
        case 1:
            if (opt.m_bUpper)
                return CString(std::string(1, static_cast<char>(RandBetween('A', 'Z'))));
            break;
        case 2:
            if (opt.m_bLower)
                return CString(std::string(1, static_cast<char>(RandBetween('a', 'z'))));
            break;
        case 3:
            if (opt.m_bDigit)
                return CString(std::string(1, static_cast<char>(RandBetween('0', '9'))));
            break;
        default:
            if (opt.m_bHanzi)
                return RandomHanzi();
            break;
        }
    }
}

CString RandomHanzi()
{
    // Rows 16..55 of GB2312 hold the 3755 level-1 characters; row 55 ends after column 89.
    const int row = g_pCore->getRandInt(16, 55);
    const int col = g_pCore->getRandInt(1, row == 55 ? 89 : 94);
    const char bytes[2] = {static_cast<char>(0xA0 + row), static_cast<char>(0xA0 + col)};
    return CString(std::string_view(bytes, 2));
}

CString ApplyInserts(const StringOptions& opt, CString s)
{
    if (opt.m_strInsert.IsEmpty())
        return s;
    const long long length =
        static_cast<long long>(s.size()); // taken once: positions refer to the string as passed
    int last = 0;                         // 0: nothing inserted yet
    for (int k = 0;; k += 2) {
        const CString pos = g_pCore->getFg(opt.m_strInsert, '|', k);
        const CString txt = g_pCore->getFg(opt.m_strInsert, '|', k + 1);
        if (pos.IsEmpty())
            break;
        const int p = IntFromText(pos.View());
        if (p > length)
            continue;
        if (last != 0 && p >= last)
            continue;
        last = p;
        s.Insert(p, txt.View());
    }
    return s;
}
