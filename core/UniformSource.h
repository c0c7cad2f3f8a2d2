#pragma once
// The exact draws' source: uniform bits from a fill function (the command line's is a
// cryptographic generator, platform/SecureRandom.h), fetched in large blocks and spent bit by
// bit. A draw from 0 to max takes as many bits as max has and draws again when the value lies above
// max, so that every value is equally likely and a letter out of 52 costs under a byte instead of
// a 64-bit word.
//
// No generator of our own stands between the fill and the draws, and what a draw does not use of
// a word is thrown away, never reused.

#include "CharacterTable.h"

#include <algorithm>
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

    // out[i] = table's character at UpTo(table.last) for i below n, spending the bits exactly as
    // those calls would, in a tight loop: a value above last is skipped without a branch.
    void Pick(char* out, std::size_t n, const CharacterTable& table)
    {
        const int bits = table.bits;
        const char* single = table.single.data();
        const std::uint64_t last = table.last;
        if (bits == 0) {
            std::fill(out, out + n, single[0]);
            return;
        }
        const std::uint64_t mask = (std::uint64_t{1} << bits) - 1;     // bits is at most 8
        constexpr int PER_WORD[9] = {0, 64, 32, 21, 16, 12, 10, 9, 8}; // 64 / bits, no division
        const std::size_t perWord = static_cast<std::size_t>(PER_WORD[bits]);
        // Kept in registers: the characters written could alias the members.
        std::uint64_t pool = m_pool;
        int left = m_left;
        std::size_t kept = 0;
        // Writes the value's character where the next one goes; whether it is kept.
        const auto put = [&](std::uint64_t value) {
            out[kept] = single[value];
            return value <= last;
        };
        // What the last word has left, then whole words while all their values fit, then the
        // rest as it comes.
        for (; kept < n && bits <= left; left -= bits, pool >>= bits)
            kept += put(pool & mask);
        if (kept < n)
            left = 0;
        const std::uint32_t* pairs = table.pairs.empty() ? nullptr : table.pairs.data();
        const std::uint64_t pairMask = (mask << bits) | mask;
        while (n - kept >= perWord) {
            std::uint64_t word = NextWord();
            std::size_t j = 0;
            if (pairs)
                for (; j + 2 <= perWord; j += 2, word >>= 2 * bits) {
                    const std::uint32_t entry = pairs[word & pairMask];
                    out[kept] = static_cast<char>(entry);
                    out[kept + 1] = static_cast<char>(entry >> 8);
                    kept += entry >> 16;
                }
            for (; j < perWord; ++j, word >>= bits)
                kept += put(word & mask);
        }
        for (; kept < n; left -= bits, pool >>= bits) {
            if (bits > left) {
                pool = NextWord();
                left = 64;
            }
            kept += put(pool & mask);
        }
        m_pool = pool;
        m_left = left;
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
