#include "HexText.h"

namespace {
int HexValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}
} // namespace

CString DecodeHexText(std::string_view hex)
{
    CString bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        const int hi = HexValue(hex[i]), lo = HexValue(hex[i + 1]);
        if (hi < 0 || lo < 0)
            break;
        bytes += static_cast<char>(hi * 16 + lo);
    }
    return bytes;
}
