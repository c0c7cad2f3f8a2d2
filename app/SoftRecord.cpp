#include "SoftRecord.h"

#include "res/version.h"

#include <array>
#include <cstring>

namespace {

// A text in the library's hexadecimal character form, made when the program is compiled.
template <std::size_t N> constexpr std::array<char, 2 * (N - 1) + 1> Hex(const char (&text)[N])
{
    constexpr char digits[] = "0123456789ABCDEF";
    std::array<char, 2 * (N - 1) + 1> hex{};
    for (std::size_t i = 0; i + 1 < N; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        hex[2 * i] = digits[c >> 4];
        hex[2 * i + 1] = digits[c & 15];
    }
    return hex;
}

constexpr auto kCompany = Hex(ZANFOR_COMPANY_TEXT);
constexpr auto kVersion = Hex(ZANFOR_VERSION_TEXT);
constexpr auto kName = Hex("Zanfor");
constexpr auto kCopyright = Hex(ZANFOR_COPYRIGHT_TEXT);

void SetSlot(char* slot, std::size_t size, const char* hex)
{
    std::strncpy(slot, hex, size - 1);
    slot[size - 1] = '\0';
}

} // namespace

void FillSoftRecord(tagSoft* soft)
{
    SetSlot(soft->company, sizeof soft->company, kCompany.data());
    SetSlot(soft->version, sizeof soft->version, kVersion.data());
    SetSlot(soft->name, sizeof soft->name, kName.data());
    SetSlot(soft->copyright, sizeof soft->copyright, kCopyright.data());
}
