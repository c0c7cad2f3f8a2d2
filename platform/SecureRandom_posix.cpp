#include "SecureRandom.h"

#include <openssl/rand.h>

#include <algorithm>
#include <climits>
#include <unistd.h>

// OpenSSL's DRBG (AES-256 in counter mode, seeded and reseeded from getrandom) rather than
// getrandom for every block: the kernel's ChaCha20 behind a system call gives about 0.5 GB/s here,
// the library's generator ten times that, and a batch of passwords spent most of its time there.
void FillSecureRandom(void* buffer, std::size_t n)
{
    auto* p = static_cast<unsigned char*>(buffer);
    while (n > 0) {
        const std::size_t part = std::min<std::size_t>(n, INT_MAX);
        if (RAND_bytes(p, static_cast<int>(part)) != 1) {
            // A password must not be guessable: no weaker source.
            const char msg[] = "RAND_bytes failed: no secure random source\n";
            (void)!::write(STDERR_FILENO, msg, sizeof msg - 1);
            _exit(1);
        }
        p += part;
        n -= part;
    }
}
