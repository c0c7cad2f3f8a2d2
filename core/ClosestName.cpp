#include "ClosestName.h"

#include <algorithm>

std::string ClosestName(const std::string& text, const std::vector<std::string>& candidates)
{
    // Edit distance, a swap of two neighbours counting as one edit.
    const auto distance = [](const std::string& a, const std::string& b) {
        std::vector<std::vector<std::size_t>> d(a.size() + 1,
                                                std::vector<std::size_t>(b.size() + 1));
        for (std::size_t i = 0; i <= a.size(); ++i)
            d[i][0] = i;
        for (std::size_t j = 0; j <= b.size(); ++j)
            d[0][j] = j;
        for (std::size_t i = 1; i <= a.size(); ++i)
            for (std::size_t j = 1; j <= b.size(); ++j) {
                d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                    d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
                if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                    d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        return d[a.size()][b.size()];
    };
    std::string best;
    std::size_t bestDistance = 3; // more edits than this is another word
    for (const std::string& candidate : candidates) {
        const std::size_t edits = distance(text, candidate);
        // A name cut short ("num", "--decim") is close whatever its length.
        const bool prefix = text.size() >= 3 && candidate.starts_with(text);
        if (edits < bestDistance || (prefix && best.empty())) {
            best = candidate;
            bestDistance = std::min(edits, bestDistance);
        }
    }
    return best;
}
