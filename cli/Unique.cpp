#include "Unique.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <numeric>
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

// The cheaper of a set and a bitmap of the whole numbers of range.
UniquePlan RememberOrBitmap(std::uint64_t setBytes, const std::optional<WholeRange>& range)
{
    UniquePlan plan{UniquePlan::Remember, setBytes, {}, 0};
    if (range) {
        const std::uint64_t bitmapBytes = (range->size / 64 + 1) * 8;
        if (bitmapBytes <= setBytes)
            plan = {UniquePlan::Bitmap, bitmapBytes, *range, 0};
    }
    return plan;
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
          m_words(static_cast<std::size_t>(range.size / 64 + 1))
    {
    }
    bool operator()(const std::string& record)
    {
        std::int64_t value = 0;
        std::from_chars(record.data(), record.data() + record.size(), value);
        const std::uint64_t at =
            static_cast<std::uint64_t>(value) - static_cast<std::uint64_t>(m_first);
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

template <class Remember>
BatchResult MakeUnique(std::int64_t count, std::string_view recordEnd, const MakeRecord& make,
                       Remember remember, RecordSink& sink, const BatchControl& control,
                       bool& exhausted)
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

} // namespace

UniquePlan UniqueStringsPlan(const StringOptions& opt, std::int64_t count)
{
    return {UniquePlan::Remember,
            SetBytes(count, static_cast<std::uint64_t>(LongestString(opt))),
            {},
            0};
}

UniquePlan UniqueNumbersPlan(const NumberOptions& opt, std::int64_t count)
{
    std::uint64_t longest = 11; // "-2147483648"
    if (opt.m_bFloat) {
        const double most = std::max(std::fabs(opt.m_fMin), std::fabs(opt.m_fMax));
        const double digits = most < 1 ? 1 : std::min(39.0, std::floor(std::log10(most)) + 1);
        longest = std::max(longest, static_cast<std::uint64_t>(digits) + 2 +
                                        static_cast<std::uint64_t>(opt.m_nDecimals));
    }
    std::optional<WholeRange> whole;
    if (opt.m_bInteger && !opt.m_bFloat) {
        const std::int64_t lo = TruncToInt(opt.m_fMin), hi = TruncToInt(opt.m_fMax);
        whole = WholeRange{lo, static_cast<std::uint64_t>(ClassicTop(lo, hi) - lo + 1)};
    }
    return RememberOrBitmap(SetBytes(count, longest), whole);
}

UniquePlan UniqueSecurePlan(std::uint64_t longestRecord, std::int64_t count, std::uint64_t space,
                            const std::optional<WholeRange>& wholeNumbers)
{
    // A quarter of the space or more, numbered by 32 bits: shuffled.
    const auto n = static_cast<std::uint64_t>(count);
    if (space > 0 && space <= UINT32_MAX && n >= space / 4)
        return {UniquePlan::Shuffle, space * sizeof(std::uint32_t), {}, space};
    return RememberOrBitmap(SetBytes(count, longestRecord), wholeNumbers);
}

BatchResult MakeUniqueRecords(std::int64_t count, std::string_view recordEnd,
                              const UniquePlan& plan, const MakeRecord& make, RecordSink& sink,
                              const BatchControl& control, bool& exhausted)
{
    if (plan.way == UniquePlan::Bitmap)
        return MakeUnique(count, recordEnd, make, WholeBitmap(plan.bitmap), sink, control,
                          exhausted);
    return MakeUnique(count, recordEnd, make, RecordSet(count), sink, control, exhausted);
}

BatchResult MakeShuffledRecords(std::int64_t count, std::string_view recordEnd,
                                const UniquePlan& plan, const MakeNumberedRecord& make,
                                UniformSource& source, RecordSink& sink,
                                const BatchControl& control)
{
    // Fisher and Yates, stopped after count steps: the first count numbers of a uniform
    // permutation.
    std::vector<std::uint32_t> numbers(static_cast<std::size_t>(plan.space));
    std::iota(numbers.begin(), numbers.end(), std::uint32_t{0});
    std::size_t at = 0;
    return MakeRecords(
        count, recordEnd,
        [&](std::string& s) {
            std::swap(numbers[at],
                      numbers[at + static_cast<std::size_t>(source.UpTo(plan.space - 1 - at))]);
            make(s, numbers[at++]);
        },
        sink, control);
}
