#include "Unique.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <numeric>
#include <unordered_set>
#include <vector>

namespace {

// One record in an unordered_set<std::string>: the node (string, link, cached hash) with the
// allocator's header and its bucket, with some room; a record too long for the string's own
// buffer (15 bytes) adds a block of its own.
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

// Orders floats as integers: adjacent floats get adjacent keys.
long long FloatKey(float f)
{
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(f);
    const long long magnitude = bits & ~(std::uint32_t{1} << 31);
    return (bits >> 31) ? -magnitude : magnitude;
}

// The number of d-decimal texts between two values (an upper bound when rounding drifts).
std::uint64_t GridTexts(double lo, double hi, int decimals)
{
    if (decimals > 300)
        return DISTINCT_MANY;
    const double scale = std::pow(10.0, decimals);
    const double span = std::floor(hi * scale + 0.5) - std::floor(lo * scale + 0.5) + 1;
    // A negative value that rounds to zero is written "-0.00", beside "0.00".
    const double texts = span + (lo < 0 ? 1 : 0);
    return texts >= static_cast<double>(DISTINCT_MANY) ? DISTINCT_MANY
                                                       : static_cast<std::uint64_t>(texts);
}

// Different strings of the classic draws.
std::uint64_t DistinctStrings(const StringOptions& opt)
{
    const std::uint64_t alphabet = (opt.m_bUpper ? 26 : 0) + (opt.m_bLower ? 26 : 0) +
                                   (opt.m_bDigit ? 10 : 0) + (opt.m_bHanzi ? 3755 : 0);
    const long long lo = opt.m_nLenMin;
    const long long hi = ClassicTop(lo, opt.m_nLenMax);
    if (hi < lo || alphabet == 0)
        return 0;
    std::uint64_t total = lo <= 0 ? 1 : 0; // every length up to 0 gives the empty body
    std::uint64_t power = 1;
    for (long long len = 1; len <= hi && total < DISTINCT_MANY; ++len) {
        power = SaturatingMultiply(power, alphabet);
        if (len >= lo)
            total = SaturatingAdd(total, power);
    }
    // Without Chinese characters a string follows from the 32-bit state it starts from.
    if (!opt.m_bHanzi)
        total = std::min<std::uint64_t>(total, std::uint64_t{1} << 32);
    return total;
}

// Different items of the classic draws.
std::uint64_t DistinctNumbers(const NumberOptions& opt)
{
    std::uint64_t whole = 0, decimal = 0;
    const int wLo = TruncToInt(opt.m_fMin), wHi = TruncToInt(opt.m_fMax);
    if (opt.m_bInteger)
        whole = static_cast<std::uint64_t>(ClassicTop(wLo, wHi) - wLo + 1);
    double dLo = 0, dHi = 0;
    if (opt.m_bFloat) {
        const int a = TenThousandths(opt.m_fMin), b = TenThousandths(opt.m_fMax);
        const long long width = ClassicFloatValues(a, b); // a .. a + width - 1
        const float vLo = static_cast<float>(a * static_cast<double>(0.0001f));
        const float vHi = static_cast<float>((a + width - 1) * static_cast<double>(0.0001f));
        dLo = vLo;
        dHi = vHi;
        const long long floats = FloatKey(vHi) - FloatKey(vLo) + 1;
        decimal = std::min({static_cast<std::uint64_t>(width), static_cast<std::uint64_t>(floats),
                            GridTexts(dLo, dHi, opt.m_nDecimals)});
    }
    std::uint64_t total = SaturatingAdd(whole, decimal);
    if (opt.m_bInteger && opt.m_bFloat && opt.m_nDecimals == 0) {
        // Without a decimal point the two kinds write the same texts: count their union.
        const double lo = std::min<double>(wLo, std::floor(dLo + 0.5));
        const double hi = std::max<double>(wHi, std::floor(dHi + 0.5));
        const double united = hi - lo + 1 + (dLo < 0 ? 1 : 0);
        total = std::min(total, static_cast<std::uint64_t>(united));
    }
    return total;
}

// Different items of an exact range: "5" and "5.0" differ, but with 0 decimals the two kinds write
// the same texts.
std::uint64_t DistinctItems(const ExactRange& range)
{
    const std::uint64_t whole =
        range.whole ? std::min(DISTINCT_MANY, range.wholeSpan) + (range.wholeSpan < DISTINCT_MANY)
                    : 0;
    if (range.whole && range.decimal && range.decimals == 0)
        return whole;
    const std::uint64_t decimal = range.decimal ? range.decimalCount.Saturated() : 0;
    return std::min(DISTINCT_MANY, whole + decimal);
}

} // namespace

UniqueSpace StringsSpace(const StringOptions& opt)
{
    return {DistinctStrings(opt), static_cast<std::uint64_t>(LongestString(opt)), 0, {}};
}

UniqueSpace StringsSpace(const StringOptions& opt, const Alphabet& alphabet, const BodyOdds& odds)
{
    const long long longest = LongestString(opt, true, alphabet.WidestBytes());
    UniqueSpace space{odds.distinct, static_cast<std::uint64_t>(longest), 0, {}};
    // One length and no required class: the bodies are numbered by their letters.
    if (opt.m_nLenMin == opt.m_nLenMax && opt.m_nLenMin >= 1 && !alphabet.required) {
        std::uint64_t bodies = 1;
        for (int i = 0; i < opt.m_nLenMin && bodies <= UINT32_MAX; ++i)
            bodies = SaturatingMultiply(bodies, alphabet.codes.size());
        space.numbered = bodies <= UINT32_MAX ? bodies : 0;
    }
    return space;
}

UniqueSpace NumbersSpace(const NumberOptions& opt)
{
    UniqueSpace space{
        DistinctNumbers(opt), static_cast<std::uint64_t>(LongestNumberItem(opt)), 0, {}};
    if (opt.m_bInteger && !opt.m_bFloat) {
        const std::int64_t lo = TruncToInt(opt.m_fMin), hi = TruncToInt(opt.m_fMax);
        space.whole = WholeRange{lo, static_cast<std::uint64_t>(ClassicTop(lo, hi) - lo + 1)};
    }
    return space;
}

UniqueSpace NumbersSpace(const ExactRange& range)
{
    UniqueSpace space{
        DistinctItems(range), static_cast<std::uint64_t>(LongestNumberItem(range)), 0, {}};
    // One kind: the items are numbered from the lowest.
    if (range.whole && !range.decimal && range.wholeSpan < UINT64_MAX) {
        space.numbered = range.wholeSpan + 1;
        space.whole = WholeRange{range.wholeLow, space.numbered};
    } else if (range.decimal && !range.whole) {
        space.numbered = range.decimalCount.Saturated();
    }
    return space;
}

UniquePlan PlanUnique(const UniqueSpace& space, std::int64_t count)
{
    // A quarter of the space or more, numbered by 32 bits: shuffled.
    const auto n = static_cast<std::uint64_t>(count);
    if (space.numbered > 0 && space.numbered <= UINT32_MAX && n >= space.numbered / 4)
        return {UniquePlan::Shuffle, space.numbered * sizeof(std::uint32_t), {}, space.numbered};
    return RememberOrBitmap(SetBytes(count, space.longest), space.whole);
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
    std::vector<std::uint32_t> numbers(static_cast<std::size_t>(plan.shuffled));
    std::iota(numbers.begin(), numbers.end(), std::uint32_t{0});
    std::size_t at = 0;
    return MakeRecords(
        count, recordEnd,
        [&](std::string& s) {
            std::swap(numbers[at],
                      numbers[at + static_cast<std::size_t>(source.UpTo(plan.shuffled - 1 - at))]);
            make(s, numbers[at++]);
        },
        sink, control);
}
