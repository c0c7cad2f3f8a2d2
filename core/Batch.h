#pragma once
// The batch engine every front end calls: the pages (on a worker thread), the command line, the
// tests and the benchmark. Its inputs are explicit: the settings, the random sources, where the
// records go, whom to tell about progress and when to stop.

#include "NumberItem.h"
#include "StringComposer.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// Where a batch's records go: whole records, in pieces of about 64 KiB.
class RecordSink {
public:
    virtual ~RecordSink() = default;
    // False when the records could not all be stored: the batch ends there.
    virtual bool Write(std::string_view records) = 0;
};

struct BatchControl {
    // Set from another thread to end the batch after the record being made.
    const std::atomic<bool>* stop = nullptr;
    // Called now and then, from the batch's thread, with the number of items made so far.
    std::function<void(std::int64_t made)> progress;
};

struct BatchResult {
    std::int64_t made = 0;       // items completed: records handed to the sink, or items listed
    bool stopped = false;        // ended early by the stop flag
    bool sinkFailed = false;     // ended early because the sink refused records
    std::int64_t shownCount = 0; // records in the shown list, the refused ones included
};

struct StringsBatch {
    StringOptions options;
    std::int64_t count = 0;
    // The records are also collected as the shown list when the batch holds at most this many.
    std::int64_t maxShown = 1000;
    std::string_view recordEnd = "\r\n";
};

// Makes count strings into sink, each followed by recordEnd; shown, when given, receives the same
// bytes if the batch may be shown, also those the sink then refuses: a list made in full stays
// whole even when the sink fails at its end.
BatchResult MakeStringsBatch(const StringsBatch& batch, RandomSource& rng,
                             const ComposerSources& sources, RecordSink& sink, std::string* shown,
                             const BatchControl& control = {});

struct NumbersList {
    NumberOptions options;
    std::int64_t count = 0;
    std::string_view recordEnd = "\r\n";
};

// Appends count number items to out, each followed by recordEnd.
BatchResult MakeNumbersList(const NumbersList& list, RandomSource& rng, std::string& out,
                            const BatchControl& control = {});

// The same items as MakeNumbersList, streamed into sink in pieces of about 64 KiB, so that memory
// stays flat whatever the count.
BatchResult MakeNumbersBatch(const NumbersList& list, RandomSource& rng, RecordSink& sink,
                             const BatchControl& control = {});

// Gathers whole records into pieces of about 64 KiB for a sink and counts them into a result: the
// one place where a batch hands its records over, reports progress and looks at the stop flag.
class RecordChunker {
public:
    // shown, when given, receives every piece before the sink does.
    RecordChunker(RecordSink& sink, const BatchControl& control, BatchResult& result,
                  std::string* shown = nullptr);
    // Where the next record is appended, its record end included.
    std::string& Buffer() { return m_chunk; }
    // One more record is in Buffer(). False when the batch must end: the sink refused a piece, or
    // a stop was asked for while more records were to come.
    bool Added(bool moreToCome)
    {
        ++m_pending;
        return m_chunk.size() < CHUNK_BYTES || HandOver(moreToCome);
    }
    // Records made, handed over or not.
    std::int64_t Records() const { return m_result.made + m_pending; }
    // Hands over what is left, at the end of a batch.
    void Finish() { Flush(); }

    static constexpr std::size_t CHUNK_BYTES = 64 * 1024;

private:
    bool HandOver(bool moreToCome);
    bool Flush();

    RecordSink& m_sink;
    const BatchControl& m_control;
    BatchResult& m_result;
    std::string* m_shown;
    std::string m_chunk;
    std::int64_t m_pending = 0; // records in m_chunk
};

// Makes count records into sink: make(buffer) appends one record, then recordEnd follows it.
template <class Make>
BatchResult MakeRecords(std::int64_t count, std::string_view recordEnd, Make make, RecordSink& sink,
                        const BatchControl& control = {})
{
    BatchResult result;
    RecordChunker chunker(sink, control, result);
    std::string& chunk = chunker.Buffer();
    for (std::int64_t i = 0; i < count; ++i) {
        make(chunk);
        for (char c : recordEnd) // a call to memcpy would cost as much as a short record
            chunk.push_back(c);
        if (!chunker.Added(i + 1 < count))
            return result;
    }
    chunker.Finish();
    return result;
}

// A sink that keeps everything in memory.
class StringSink : public RecordSink {
public:
    bool Write(std::string_view records) override
    {
        text.append(records);
        return true;
    }
    std::string text;
};
