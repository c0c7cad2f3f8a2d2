#include "Unique.h"

#include <unordered_set>

namespace {

template <class Make>
BatchResult MakeUnique(std::int64_t count, std::string_view recordEnd, Make make, RecordSink& sink,
                       const BatchControl& control, bool& exhausted)
{
    BatchResult result;
    exhausted = false;
    std::unordered_set<std::string> seen;
    std::string record;
    std::int64_t fruitless = 0;
    RecordChunker chunker(sink, control, result);
    while (chunker.Records() < count) {
        record.clear();
        make(record);
        if (!seen.insert(record).second) {
            if (++fruitless > MAX_FRUITLESS_DRAWS) {
                exhausted = true;
                break;
            }
            continue;
        }
        fruitless = 0;
        chunker.Buffer() += record;
        chunker.Buffer() += recordEnd;
        if (!chunker.Added(chunker.Records() + 1 < count))
            return result;
    }
    chunker.Finish();
    return result;
}

} // namespace

BatchResult MakeUniqueStrings(const StringsBatch& batch, RandomSource& rng,
                              const ComposerSources& sources, RecordSink& sink,
                              const BatchControl& control, bool& exhausted)
{
    StringComposer composer(batch.options, sources);
    return MakeUnique(
        batch.count, batch.recordEnd, [&](std::string& s) { composer.Append(s, rng); }, sink,
        control, exhausted);
}

BatchResult MakeUniqueNumbers(const NumbersList& list, RandomSource& rng, RecordSink& sink,
                              const BatchControl& control, bool& exhausted)
{
    const NumberItemMaker maker(list.options);
    return MakeUnique(
        list.count, list.recordEnd, [&](std::string& s) { maker.Append(s, rng); }, sink, control,
        exhausted);
}
