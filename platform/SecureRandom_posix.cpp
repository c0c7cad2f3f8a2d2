#include "SecureRandom.h"

#include <cerrno>
#include <sys/random.h>
#include <unistd.h>

void FillSecureRandom(void* buffer, std::size_t n)
{
    auto* p = static_cast<unsigned char*>(buffer);
    while (n > 0) {
        const ssize_t got = getrandom(p, n, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            // A password must not be guessable: no weaker source.
            const char msg[] = "getrandom failed: no secure random source\n";
            (void)!::write(STDERR_FILENO, msg, sizeof msg - 1);
            _exit(1);
        }
        p += got;
        n -= static_cast<std::size_t>(got);
    }
}
