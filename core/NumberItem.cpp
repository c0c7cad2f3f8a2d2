#include "NumberItem.h"

#include "FixedFormat.h"

#include <charconv>

NumberItemMaker::NumberItemMaker(const NumberOptions& opt)
    : m_opt(opt), m_nWholeLo(TruncToInt(opt.m_fMin)), m_nWholeHi(TruncToInt(opt.m_fMax)),
      m_nTenThousandthsLo(TenThousandths(opt.m_fMin)),
      m_nTenThousandthsHi(TenThousandths(opt.m_fMax))
{
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

CString MakeNumberItem(const NumberOptions& opt, RandomSource& rng)
{
    std::string text;
    NumberItemMaker(opt).Append(text, rng);
    return CString(std::move(text));
}
