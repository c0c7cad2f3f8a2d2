#pragma once
// A running checksum of a stream of bytes, to tell whether a file still holds what was written to
// it: xxHash's XXH3, 64 bits, fed piece by piece. A change of the bytes, however small and wherever
// it is, changes it but for a chance of 1 in 2^64 (sums of the bytes miss changes that cancel
// out); at many gigabytes a second it is cheap beside making the bytes. It guards against
// accidents and other programs' writes, not against a deliberate forgery.

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <string_view>

class ByteChecksum {
public:
    ByteChecksum() { Reset(); }
    void Reset() { XXH3_64bits_reset(&m_state); }
    void Add(std::string_view bytes) { XXH3_64bits_update(&m_state, bytes.data(), bytes.size()); }
    XXH64_hash_t Value() const { return XXH3_64bits_digest(&m_state); }
    bool operator==(const ByteChecksum& other) const { return Value() == other.Value(); }

private:
    XXH3_state_t m_state;
};
