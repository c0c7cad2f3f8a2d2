#pragma once
// The exact draws' source: uniform bits from a fill function (the command line's is the operating
// system's cryptographic bytes, platform/SecureRandom.h), fetched in large blocks and spent bit by
// bit. A draw from 0 to max takes as many bits as max has and draws again when the value lies above
// max, so that every value is equally likely and a letter out of 52 costs under a byte instead of
// a 64-bit word.
//
// No generator of our own stands between the fill and the draws, and what a draw does not use of
// a word is thrown away, never reused.

#include <bit>
#include <cstddef>
#include <cstdint>
#include <vector>

class UniformSource {
public:
    // Fills n bytes; it must not return without having filled them all.
    using Fill = void (*)(void* buffer, std::size_t n);
    explicit UniformSource(Fill fill) : m_fill(fill), m_block(BLOCK_WORDS) {}

    // Uniform from 0 to max, both included.
    std::uint64_t UpTo(std::uint64_t max)
    {
        const int bits = std::bit_width(max);
        if (bits == 0)
            return 0;
        std::uint64_t value;
        do
            value = Bits(bits);
        while (value > max);
        return value;
    }

    static constexpr std::size_t BLOCK_WORDS = 2048; // 16 KiB a system call

private:
    // bits (1 to 64) fresh bits.
    std::uint64_t Bits(int bits)
    {
        if (bits > m_left) {
            m_pool = NextWord();
            m_left = 64;
        }
        const std::uint64_t value = bits == 64 ? m_pool : m_pool & ((std::uint64_t{1} << bits) - 1);
        m_pool = bits == 64 ? 0 : m_pool >> bits;
        m_left -= bits;
        return value;
    }
    std::uint64_t NextWord()
    {
        if (m_next == m_block.size()) {
            m_fill(m_block.data(), m_block.size() * sizeof(std::uint64_t));
            m_next = 0;
        }
        return m_block[m_next++];
    }

    Fill m_fill;
    std::vector<std::uint64_t> m_block;
    std::size_t m_next = BLOCK_WORDS;
    std::uint64_t m_pool = 0;
    int m_left = 0;
};
