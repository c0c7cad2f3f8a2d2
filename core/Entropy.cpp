#include "Entropy.h"

#include <algorithm>
#include <cmath>
#include <vector>

int FewestCovering(const Alphabet& alphabet)
{
    // Breadth first over the subsets of required classes that some characters hold between them.
    const unsigned required = alphabet.required;
    if (required == 0)
        return 0;
    std::vector<int> fewest(256, -1);
    fewest[0] = 0;
    std::vector<unsigned> frontier{0};
    for (int n = 1; !frontier.empty(); ++n) {
        std::vector<unsigned> next;
        for (const unsigned held : frontier)
            for (const std::uint8_t cls : alphabet.classes) {
                const unsigned now = held | (cls & required);
                if (fewest[now] >= 0)
                    continue;
                fewest[now] = n;
                if (now == required)
                    return n;
                next.push_back(now);
            }
        frontier.swap(next);
    }
    return -1; // no character of some class: BuildAlphabet refuses that first
}

double MinEntropyBits(const Alphabet& alphabet, int lenMin, int lenMax, const BodyOdds& odds)
{
    const int fewest = FewestCovering(alphabet);
    const long long shortest = std::max<long long>(std::max(lenMin, 0), fewest);
    if (odds.acceptance <= 0 || fewest < 0 || shortest > lenMax)
        return 0;
    // A kept body of length L comes out with the chance 1 / (lengths * letters^L * acceptance):
    // the likeliest is one of the shortest length that can be kept.
    const double lengths = static_cast<double>(static_cast<long long>(lenMax) - lenMin + 1);
    const double letters = static_cast<double>(alphabet.codes.size());
    // Lengths of 0 and below all make the empty body, which then holds all their chances.
    const double empty =
        shortest == 0
            ? static_cast<double>(static_cast<long long>(std::min(lenMax, 0)) - lenMin + 1)
            : 1;
    return std::log2(lengths) + std::log2(odds.acceptance) - std::log2(empty) +
           static_cast<double>(shortest) * std::log2(letters);
}
