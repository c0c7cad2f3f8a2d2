#pragma once
// A running checksum of a stream of bytes, to tell whether a file still holds what was written to
// it. Fletcher's two sums modulo 2^64: a byte changed, zeroed, lost or moved changes them, at about
// a cycle a byte, cheap beside making the bytes. It guards against accidents and other programs'
// writes, not against a deliberate forgery.

#include <cstdint>
#include <string_view>

class ByteChecksum {
public:
    void Add(std::string_view bytes)
    {
        for (const char c : bytes) {
            m_sum += static_cast<unsigned char>(c);
            m_sumOfSums += m_sum;
        }
    }
    bool operator==(const ByteChecksum&) const = default;

private:
    std::uint64_t m_sum = 0;
    std::uint64_t m_sumOfSums = 0;
};
