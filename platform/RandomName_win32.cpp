#include "RandomName.h"

#include <windows.h>

#include <bcrypt.h>

std::wstring RandomFileName(int draw)
{
    unsigned long bits = 0;
    if (BCryptGenRandom(nullptr, reinterpret_cast<PUCHAR>(&bits), sizeof bits,
                        BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0)
        bits = ::GetTickCount() * 2654435761u + static_cast<unsigned long>(draw);
    std::wstring name = L"zan";
    for (int shift = 28; shift >= 0; shift -= 4)
        name += L"0123456789abcdef"[(bits >> shift) & 0xF];
    return name + L".tmp";
}
