#include "Unique.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <unordered_set>
#include <vector>

namespace {

// One record in an unordered_set<std::string>: the node (string, link, cached hash) with the
// allocator's header and its bucket, with some room; a record too long for the string's own
// buffer (15 bytes) adds a block of its own. 80 bytes on x86-64 and 48 in a 32-bit process,
// against 72 and 44 measured for records of 5 to 8 bytes.
std::uint64_t SetBytesPerRecord(std::uint64_t longest)
{
    const std::uint64_t node = sizeof(std::string) + 6 * sizeof(void*);
    return longest <= 15 ? node : node + longest + 4 * sizeof(void*);
}

std::uint64_t SetBytes(std::int64_t count, std::uint64_t longest)
{
    const std::uint64_t each = SetBytesPerRecord(longest);
    const auto n = static_cast<std::uint64_t>(count);
    return n > UINT64_MAX / each ? UINT64_MAX : n * each;
}

template <class Make, class Remember>
BatchResult MakeUnique(std::int64_t count, std::string_view recordEnd, Make make, Remember remember,
                       RecordSink& sink, const BatchControl& control, bool& exhausted)
{
    BatchResult result;
    exhausted = false;
    std::string record;
    std::int64_t fruitless = 0;
    RecordChunker chunker(sink, control, result);
    while (chunker.Records() < count) {
        record.clear();
        make(record);
        if (!remember(record)) {
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

// Remembers records in a set, sized for the whole batch at once: growing it would rehash.
class RecordSet {
public:
    explicit RecordSet(std::int64_t count) { m_seen.reserve(static_cast<std::size_t>(count)); }
    bool operator()(const std::string& record) { return m_seen.insert(record).second; }

private:
    std::unordered_set<std::string> m_seen;
};

// Remembers whole numbers of a range by one bit each.
class WholeBitmap {
public:
    explicit WholeBitmap(const WholeRange& range)
        : m_first(range.first), m_size(range.size),
          m_words(static_cast<std::size_t>((range.size + 63) / 64))
    {
    }
    bool operator()(const std::string& record)
    {
        std::int64_t value = 0;
        std::from_chars(record.data(), record.data() + record.size(), value);
        const auto at = static_cast<std::uint64_t>(value - m_first);
        if (at >= m_size)
            return false; // outside the range: never taken as new
        std::uint64_t& word = m_words[static_cast<std::size_t>(at / 64)];
        const std::uint64_t bit = std::uint64_t{1} << (at % 64);
        if (word & bit)
            return false;
        word |= bit;
        return true;
    }

private:
    std::int64_t m_first;
    std::uint64_t m_size;
    std::vector<std::uint64_t> m_words;
};

} // namespace

UniqueMemory UniqueStringsMemory(const StringOptions& opt, std::int64_t count, bool secure)
{
    return {SetBytes(count, static_cast<std::uint64_t>(LongestString(opt, secure))), {}};
}

UniqueMemory UniqueNumbersMemory(const NumberOptions& opt, std::int64_t count, bool secure)
{
    std::uint64_t longest = 11; // "-2147483648"
    if (opt.m_bFloat) {
        const double most = std::max(std::fabs(opt.m_fMin), std::fabs(opt.m_fMax));
        const double digits = most < 1 ? 1 : std::min(39.0, std::floor(std::log10(most)) + 1);
        longest = std::max(longest, static_cast<std::uint64_t>(digits) + 2 +
                                        static_cast<std::uint64_t>(opt.m_nDecimals));
    }
    UniqueMemory memory{SetBytes(count, longest), {}};
    if (opt.m_bInteger && !opt.m_bFloat) {
        // The classic source passes the lower bound by at most 32767.
        const std::int64_t lo = TruncToInt(opt.m_fMin), hi = TruncToInt(opt.m_fMax);
        std::uint64_t size = static_cast<std::uint64_t>(hi - lo + 1);
        if (!secure)
            size = std::min<std::uint64_t>(size, RAND_DRAW_MAX + 1);
        const std::uint64_t bitmapBytes = (size + 63) / 64 * 8;
        if (bitmapBytes <= memory.bytes)
            memory = {bitmapBytes, WholeRange{lo, size}};
    }
    return memory;
}

BatchResult MakeUniqueStrings(const StringsBatch& batch, RandomSource& rng,
                              const ComposerSources& sources, RecordSink& sink,
                              const BatchControl& control, bool& exhausted)
{
    StringComposer composer(batch.options, sources);
    return MakeUnique(
        batch.count, batch.recordEnd, [&](std::string& s) { composer.Append(s, rng); },
        RecordSet(batch.count), sink, control, exhausted);
}

BatchResult MakeUniqueNumbers(const NumbersList& list, const std::optional<WholeRange>& bitmap,
                              RandomSource& rng, RecordSink& sink, const BatchControl& control,
                              bool& exhausted)
{
    const NumberItemMaker maker(list.options);
    const auto make = [&](std::string& s) { maker.Append(s, rng); };
    if (bitmap)
        return MakeUnique(list.count, list.recordEnd, make, WholeBitmap(*bitmap), sink, control,
                          exhausted);
    return MakeUnique(list.count, list.recordEnd, make, RecordSet(list.count), sink, control,
                      exhausted);
}
