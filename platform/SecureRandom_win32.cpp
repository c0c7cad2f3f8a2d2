#include "SecureRandom.h"

#include <windows.h>

#include <bcrypt.h>

#include <cstdio>

void FillSecureRandom(void* buffer, std::size_t n)
{
    if (BCryptGenRandom(nullptr, static_cast<PUCHAR>(buffer), static_cast<ULONG>(n),
                        BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0) {
        // A password must not be guessable: no weaker source.
        std::fputs("BCryptGenRandom failed: no secure random source\n", stderr);
        ExitProcess(1);
    }
}
