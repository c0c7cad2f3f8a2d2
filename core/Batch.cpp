#include "Batch.h"

namespace {

// Records gather here before they go to the sink: large enough that a write costs little per
// record, small enough to stay in the cache.
constexpr std::size_t CHUNK_BYTES = 64 * 1024;

bool StopRequested(const BatchControl& control)
{
    return control.stop && control.stop->load(std::memory_order_relaxed);
}

} // namespace

BatchResult MakeStringsBatch(const StringsBatch& batch, RandomSource& rng,
                             const ComposerSources& sources, RecordSink& sink, std::string* shown,
                             const BatchControl& control)
{
    BatchResult result;
    StringComposer composer(batch.options, sources);
    const bool showList = shown && batch.count <= batch.maxShown;
    std::string chunk;
    chunk.reserve(CHUNK_BYTES * 2);
    std::int64_t inChunk = 0; // records in chunk, not yet handed over

    // Hands the whole records gathered so far to the sink (and to the shown list).
    auto flush = [&]() -> bool {
        if (chunk.empty())
            return true;
        if (showList) {
            shown->append(chunk);
            result.shownCount += inChunk;
        }
        if (!sink.Write(chunk)) {
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

    for (std::int64_t i = 0; i < batch.count; ++i) {
        composer.Append(chunk, rng);
        for (char c : batch.recordEnd) // a call to memcpy would cost as much as the string
            chunk.push_back(c);
        ++inChunk;
        if (chunk.size() >= CHUNK_BYTES) {
            if (!flush())
                return result;
            if (StopRequested(control)) {
                result.stopped = i + 1 < batch.count;
                return result;
            }
        }
    }
    flush();
    return result;
}

BatchResult MakeNumbersList(const NumbersList& list, RandomSource& rng, std::string& out,
                            const BatchControl& control)
{
    BatchResult result;
    const NumberItemMaker maker(list.options);
    constexpr std::int64_t PIECE = 4096; // items between two looks at the stop flag
    for (std::int64_t i = 0; i < list.count; ++i) {
        maker.Append(out, rng);
        out += list.recordEnd;
        ++result.made;
        if (result.made % PIECE == 0) {
            if (control.progress)
                control.progress(result.made);
            if (StopRequested(control) && result.made < list.count) {
                result.stopped = true;
                return result;
            }
        }
    }
    if (control.progress)
        control.progress(result.made);
    return result;
}

BatchResult MakeNumbersBatch(const NumbersList& list, RandomSource& rng, RecordSink& sink,
                             const BatchControl& control)
{
    BatchResult result;
    const NumberItemMaker maker(list.options);
    std::string chunk;
    chunk.reserve(CHUNK_BYTES * 2);
    std::int64_t inChunk = 0;
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
    for (std::int64_t i = 0; i < list.count; ++i) {
        maker.Append(chunk, rng);
        chunk += list.recordEnd;
        ++inChunk;
        if (chunk.size() >= CHUNK_BYTES) {
            if (!flush())
                return result;
            if (StopRequested(control) && i + 1 < list.count) {
                result.stopped = true;
                return result;
            }
        }
    }
    flush();
    return result;
}
