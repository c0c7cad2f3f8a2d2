#include "Batch.h"

namespace {

bool StopRequested(const BatchControl& control)
{
    return control.stop && control.stop->load(std::memory_order_relaxed);
}

} // namespace

RecordChunker::RecordChunker(RecordSink& sink, const BatchControl& control, BatchResult& result,
                             std::string* shown)
    : m_sink(sink), m_control(control), m_result(result), m_shown(shown)
{
    m_chunk.reserve(CHUNK_BYTES * 2);
}

bool RecordChunker::Flush()
{
    if (m_chunk.empty())
        return true;
    if (m_shown) {
        m_shown->append(m_chunk);
        m_result.shownCount += m_pending;
    }
    if (!m_sink.Write(m_chunk)) {
        m_result.sinkFailed = true;
        return false;
    }
    m_result.made += m_pending;
    m_chunk.clear();
    m_pending = 0;
    if (m_control.progress)
        m_control.progress(m_result.made);
    return true;
}

bool RecordChunker::HandOver(bool moreToCome)
{
    if (!Flush())
        return false;
    if (moreToCome && StopRequested(m_control)) {
        m_result.stopped = true;
        return false;
    }
    return true;
}

BatchResult MakeStringsBatch(const StringsBatch& batch, RandomSource& rng,
                             const ComposerSources& sources, RecordSink& sink, std::string* shown,
                             const BatchControl& control)
{
    BatchResult result;
    StringComposer composer(batch.options, sources);
    RecordChunker chunker(sink, control, result,
                          shown && batch.count <= batch.maxShown ? shown : nullptr);
    std::string& chunk = chunker.Buffer();
    for (std::int64_t i = 0; i < batch.count; ++i) {
        composer.Append(chunk, rng);
        for (char c : batch.recordEnd) // a call to memcpy would cost as much as the string
            chunk.push_back(c);
        if (!chunker.Added(i + 1 < batch.count))
            return result;
    }
    chunker.Finish();
    return result;
}

BatchResult MakeNumbersBatch(const NumbersList& list, RandomSource& rng, RecordSink& sink,
                             const BatchControl& control)
{
    const NumberItemMaker maker(list.options);
    return MakeRecords(
        list.count, list.recordEnd, [&](std::string& s) { maker.Append(s, rng); }, sink, control);
}

BatchResult MakeNumbersList(const NumbersList& list, RandomSource& rng, std::string& out,
                            const BatchControl& control)
{
    class AppendTo : public RecordSink {
    public:
        explicit AppendTo(std::string& text) : m_text(text) {}
        bool Write(std::string_view records) override
        {
            m_text.append(records);
            return true;
        }

    private:
        std::string& m_text;
    } sink(out);
    return MakeNumbersBatch(list, rng, sink, control);
}
