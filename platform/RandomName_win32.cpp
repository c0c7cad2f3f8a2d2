#include "RandomName.h"

#include <windows.h>

#include <bcrypt.h>

namespace {

constexpr int MAX_NAME_DRAWS = 100;

// draw counts the names drawn for one file so far.
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

} // namespace

void* CreateFreshFile(const std::wstring& folder, unsigned long access, unsigned long flags,
                      std::wstring& name, unsigned long& error)
{
    for (int draw = 0; draw < MAX_NAME_DRAWS; ++draw) {
        name = RandomFileName(draw);
        HANDLE h =
            ::CreateFileW((folder + name).c_str(), access, 0, nullptr, CREATE_NEW, flags, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            error = 0;
            return h;
        }
        error = ::GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS)
            break;
    }
    return INVALID_HANDLE_VALUE;
}
