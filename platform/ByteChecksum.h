#pragma once
// A running checksum of a stream of bytes, to tell whether a file still holds what was written to
// it: xxHash's XXH3, 64 bits, fed piece by piece. A change of the bytes, however small and wherever
// it is, changes it but for a chance of 1 in 2^64 (sums of the bytes miss changes that cancel
// out); at many gigabytes a second it is cheap beside making the bytes. It guards against
// accidents and other programs' writes, not against a deliberate forgery.

#define XXH_INLINE_ALL
#include <xxhash.h>

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

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

// How a read-back ended.
enum class ReadBackEnd { Whole, Failed, Stopped, Altered };

// Reads a file from its start in pieces of 1 MiB through readAt (false when a read failed; got 0 at
// the file's end), hands each piece to piece (false: stop there), and tells whether the file held
// exactly the bytes written: written of them, with the checksum sum.
inline ReadBackEnd ReadBackChecked(
    const std::function<bool(std::uint64_t offset, char* buf, std::size_t size, std::size_t& got)>&
        readAt,
    const std::function<bool(std::string_view)>& piece, std::uint64_t written,
    const ByteChecksum& sum)
{
    std::vector<char> buf(1 << 20);
    ByteChecksum read;
    std::uint64_t total = 0;
    for (std::size_t got = 0;; total += got) {
        if (!readAt(total, buf.data(), buf.size(), got))
            return ReadBackEnd::Failed;
        if (got == 0)
            break;
        const std::string_view bytes(buf.data(), got);
        read.Add(bytes);
        if (!piece(bytes))
            return ReadBackEnd::Stopped;
    }
    return total == written && read == sum ? ReadBackEnd::Whole : ReadBackEnd::Altered;
}
