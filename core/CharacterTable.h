#pragma once
// A single-byte alphabet made ready for UniformSource::Pick: each character at its draw's value,
// and, for alphabets of up to 64, every two draws' values at once (the characters they keep and
// how many), so that a batch costs one look-up per two characters.

#include <bit>
#include <cstdint>
#include <string_view>
#include <vector>

class CharacterTable {
public:
    // chars: 1 to 256 characters.
    explicit CharacterTable(std::string_view chars)
        : last(chars.size() - 1), bits(std::bit_width(last)), single(std::size_t{1} << bits)
    {
        for (std::size_t v = 0; v < single.size(); ++v)
            single[v] = v <= last ? chars[v] : chars[0];
        if (bits == 0 || bits > 6) // 4096 pairs at most: they stay in the first-level cache
            return;
        const std::uint32_t mask = (1u << bits) - 1;
        pairs.resize(std::size_t{1} << 2 * bits);
        for (std::uint32_t v = 0; v < pairs.size(); ++v) {
            std::uint32_t entry = 0, kept = 0;
            for (const std::uint32_t value : {v & mask, v >> bits})
                if (value <= last)
                    entry |= static_cast<std::uint32_t>(static_cast<unsigned char>(chars[value]))
                             << 8 * kept++;
            pairs[v] = entry | kept << 16;
        }
    }

    std::uint64_t last; // the largest value drawn
    int bits;           // bits a value takes
    std::vector<char> single;
    // By two values, the first in the low bits: the kept characters in bytes 0 and 1, their
    // number in byte 2.
    std::vector<std::uint32_t> pairs;
};
