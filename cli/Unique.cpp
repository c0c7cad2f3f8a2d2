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
    std::string record, chunk;
    std::int64_t inChunk = 0, fruitless = 0;
    auto flush = [&]() -> bool {
        if (!chunk.empty() && !sink.Write(chunk)) {
            result.sinkFailed = true;
            return false;
        }
        result.made += inChunk;
        chunk.clear();
        inChunk = 0;
        if (control.progress)
            control.progress(result.made);
        return true;
    };
    while (result.made + inChunk < count) {
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
        chunk += record;
        chunk += recordEnd;
        ++inChunk;
        if (chunk.size() >= 64 * 1024) {
            if (!flush())
                return result;
            if (control.stop && control.stop->load() && result.made < count) {
                result.stopped = true;
                return result;
            }
        }
    }
    flush();
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
