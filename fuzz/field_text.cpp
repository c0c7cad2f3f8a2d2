// The numeric field readers against strtol and strtod on the same rules: any difference, to the
// bit (the sign of a zero included), is a crash.
#include "ReferenceNumbers.h"
#include "core/FieldText.h"

#include <bit>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    const int whole = IntFromText(text);
    const int wholeRef = ReferenceInt(text);
    if (whole != wholeRef) {
        std::fprintf(stderr, "IntFromText %d, strtol %d\n", whole, wholeRef);
        std::abort();
    }

    const float real = FloatFromText(text);
    const float realRef = ReferenceFloat(text);
    if (std::bit_cast<std::uint32_t>(real) != std::bit_cast<std::uint32_t>(realRef)) {
        std::fprintf(stderr, "FloatFromText %a, strtod %a\n", real, realRef);
        std::abort();
    }
    return 0;
}
