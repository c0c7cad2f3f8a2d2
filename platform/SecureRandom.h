#pragma once
// Cryptographic random bytes (Linux: OpenSSL's RAND_bytes, seeded from the kernel; Windows:
// BCryptGenRandom): what the core's UniformSource draws from when no seed is given.

#include <cstddef>

// Fills n bytes. Never falls back to a weaker source: when the system has none to give, the
// process ends with a message on standard error.
void FillSecureRandom(void* buffer, std::size_t n);
