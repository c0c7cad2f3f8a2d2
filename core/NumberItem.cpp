#include "NumberItem.h"

#include "FixedFormat.h"
#include "Random.h"

void AppendNumberItem(CString& out, const NumberOptions& opt)
{
    float v = NUMBER_ITEM_MARKER;
    do {
        const int kind = RandBetween(1, 2);
        if (kind == 1 && opt.m_bInteger) {
            const int lo = TruncToInt(opt.m_fMin);
            const int hi = TruncToInt(opt.m_fMax);
            out.AppendInt(RandBetween(lo, hi));
            return;
        }
        if (kind == 2 && opt.m_bFloat) {
            v = static_cast<float>(RandFloat(opt.m_fMin, opt.m_fMax));
            AppendFixed(out, v, opt.m_nDecimals);
        }
        // A kind that is not chosen leaves the marker and draws the kind again.
    } while (v == NUMBER_ITEM_MARKER);
}

CString MakeNumberItem(const NumberOptions& opt)
{
    CString text;
    AppendNumberItem(text, opt);
    return text;
}
