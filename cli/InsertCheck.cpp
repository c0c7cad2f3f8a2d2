#include "InsertCheck.h"

#include "ArgumentNumbers.h"

#include <algorithm>
#include <climits>

std::vector<SkippedInsert> SkippedInserts(const CString& spec, const ComposerSources& sources,
                                          long long shortest, long long longest, long long step)
{
    std::vector<SkippedInsert> pairs;
    const InsertPlan plan = ReadInsertPlan(spec, sources);
    for (std::size_t i = 0; i < plan.pairs.size(); ++i) {
        CString position = sources.field(spec, '|', static_cast<int>(2 * i));
        SkippedInsert pair{position.Str(), plan.pairs[i].text.Str(), plan.pairs[i].position};
        std::int64_t ignored;
        pair.notANumber = ReadWholeArgument(position.TrimLeft().TrimRight().View(), INT_MIN,
                                            INT_MAX, ignored) == ArgumentNumber::NotANumber;
        pairs.push_back(pair);
    }
    // Which pairs a string takes depends only on its length, and changes only where a length
    // reaches a position: the shortest length and the first possible one at each position stand
    // for all.
    std::vector<long long> lengths{shortest};
    for (const InsertPlan::Pair& pair : plan.pairs)
        if (pair.position > shortest && pair.position <= longest)
            lengths.push_back(shortest + (pair.position - shortest + step - 1) / step * step);
    std::vector<bool> taken(pairs.size(), false);
    for (const long long length : lengths) {
        if (length > longest)
            continue;
        int last = 0; // as ApplyInsertPlan: 0 means nothing inserted yet
        for (std::size_t i = 0; i < pairs.size(); ++i) {
            const int p = pairs[i].value;
            if (p > length || (last != 0 && p >= last))
                continue;
            last = p;
            taken[i] = true;
        }
    }
    std::vector<SkippedInsert> skipped;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        if (taken[i])
            continue;
        pairs[i].pastTheEnd = pairs[i].value > longest;
        skipped.push_back(pairs[i]);
    }
    return skipped;
}
