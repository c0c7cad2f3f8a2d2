#include "FillCost.h"

double TextFillMs(std::string_view text)
{
    double ms = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        end = end == std::string_view::npos ? text.size() : end + 1;
        ms += LineFillMs(end - at);
        at = end;
    }
    return ms;
}
