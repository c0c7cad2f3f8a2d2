#include "GbkText.h"

std::size_t FindOrphanLead(std::string_view gbk, std::size_t from)
{
    for (std::size_t i = from; i < gbk.size(); ++i) {
        if (!IsGbkLead(static_cast<unsigned char>(gbk[i])))
            continue;
        if (i + 1 == gbk.size() || !IsGbkTrail(static_cast<unsigned char>(gbk[i + 1])))
            return i;
        ++i; // a whole character
    }
    return std::string_view::npos;
}
