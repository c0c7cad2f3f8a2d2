// The batch engine's contract with its callers: how many records a result counts, where a stop
// takes effect, and what the shown list holds when the sink refuses a piece.
#include "CoreFixture.h"
#include "core/Batch.h"

#include <algorithm>
#include <string>

namespace {

// Takes pieces until it refuses the one numbered refuseAt (from 1; 0 never refuses); asks for a
// stop once stopAfter pieces have been taken.
class ScriptedSink : public RecordSink {
public:
    ScriptedSink(int refuseAt, int stopAfter, std::atomic<bool>& stop)
        : m_refuseAt(refuseAt), m_stopAfter(stopAfter), m_stop(stop)
    {
    }
    bool Write(std::string_view records) override
    {
        if (++pieces == m_refuseAt)
            return false;
        text.append(records);
        if (pieces == m_stopAfter)
            m_stop = true;
        return true;
    }
    int pieces = 0;
    std::string text;

private:
    int m_refuseAt, m_stopAfter;
    std::atomic<bool>& m_stop;
};

std::int64_t Records(const std::string& text)
{
    return std::count(text.begin(), text.end(), '\n');
}

class Batch : public WithCore {};

} // namespace

TEST_F(Batch, CountsStopsAndRefusalsKeepToWholeRecords)
{
    // 30,000 strings of 7 to 10 bytes with their line ends: four pieces of about 64 KiB.
    const StringOptions options{.m_bUpper = 1, .m_nLenMin = 5, .m_nLenMax = 8};
    const struct {
        const char* name;
        std::int64_t count, maxShown;
        int refuseAt, stopAfter;
        bool stopped, sinkFailed;
        int pieces;      // the sink was asked to take
        bool shownWhole; // the shown list holds the whole batch
    } cases[] = {
        {"whole", 30000, 30000, 0, 0, false, false, 4, true},
        {"stop after the first piece", 30000, 30000, 0, 1, true, false, 1, false},
        {"a stop during the last piece comes too late", 30000, 30000, 0, 4, false, false, 4, true},
        {"refused second piece", 30000, 30000, 2, 0, false, true, 2, false},
        {"refused last piece", 30000, 30000, 4, 0, false, true, 4, true},
        {"too many to show", 30000, 1000, 0, 0, false, false, 4, false},
        {"nothing", 0, 1000, 0, 0, false, false, 0, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::atomic<bool> stop{false};
        ScriptedSink sink(c.refuseAt, c.stopAfter, stop);
        std::string shown;
        std::int64_t lastProgress = -1;
        RandomSource rng(7);
        const BatchResult r = MakeStringsBatch(
            {.options = options, .count = c.count, .maxShown = c.maxShown}, rng, sources, sink,
            &shown, {.stop = &stop, .progress = [&](std::int64_t n) { lastProgress = n; }});
        EXPECT_EQ(sink.pieces, c.pieces);
        EXPECT_EQ(r.stopped, c.stopped);
        EXPECT_EQ(r.sinkFailed, c.sinkFailed);
        // made counts exactly the records the sink took, and progress last said so.
        EXPECT_EQ(r.made, Records(sink.text));
        if (c.pieces > 0) {
            EXPECT_EQ(lastProgress, r.made);
        }
        if (!c.stopped && !c.sinkFailed) {
            EXPECT_EQ(r.made, c.count);
        }
        if (c.count > c.maxShown) {
            EXPECT_EQ(shown, "");
            EXPECT_EQ(r.shownCount, 0);
            continue;
        }
        // The shown list holds every record made, the refused piece's too: a list made in full
        // stays whole when the sink fails at its end.
        EXPECT_EQ(r.shownCount, Records(shown));
        EXPECT_EQ(shown.compare(0, sink.text.size(), sink.text), 0);
        EXPECT_EQ(r.shownCount == c.count, c.shownWhole);
    }
}
