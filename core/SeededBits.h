#pragma once
// The seeded exact draws' bits: xoshiro256** (Blackman and Vigna, 2018), its state filled by four
// outputs of splitmix64 from the seed, as its authors recommend. Not for secrets: a seed gives
// the same words on every platform and in every build, so that a seeded run can be repeated, and
// the published generator can be rewritten anywhere from its description (the README gives it).

#include <cstddef>
#include <cstdint>

class Xoshiro256StarStar {
public:
    // The state as given; it must not be all zero.
    Xoshiro256StarStar(std::uint64_t s0, std::uint64_t s1, std::uint64_t s2, std::uint64_t s3)
        : m_s{s0, s1, s2, s3}
    {
    }
    // The state from splitmix64 started at seed.
    static Xoshiro256StarStar FromSeed(std::uint64_t seed);
    std::uint64_t Next();

private:
    std::uint64_t m_s[4];
};

// splitmix64: adds 0x9E3779B97F4A7C15 to state, and returns it mixed.
std::uint64_t SplitMix64(std::uint64_t& state);

// A UniformSource fill from the seeded generator (UniformSource takes a plain function): each
// 64-bit word of the buffer is the generator's next output, in the machine's own byte order, so
// that the source reads the outputs themselves. The generator belongs to the thread.
void SeedBits(std::uint64_t seed);
void FillSeededBits(void* buffer, std::size_t n);
