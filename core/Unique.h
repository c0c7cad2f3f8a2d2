#pragma once
// Batches in which no record repeats, from any source, chosen one way as coreutils' randperm
// chooses: a sparse batch draws records and draws again when one was made before, remembering
// what it made (a set of the records, or one bit per value where its records are the whole numbers
// of a range and that is smaller); a dense batch, a quarter of its space or more where the records
// can be numbered, shuffles the numbers instead, so that its last records cost no more than its
// first. Should a sparse batch stop finding new records (a range that the 15-bit source reaches
// only in part), it ends instead of looping for ever.

#include "Alphabet.h"
#include "Batch.h"
#include "ExactNumbers.h"
#include "Saturating.h"
#include "UniformSource.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <type_traits>

// Whole numbers from first to first + size - 1.
struct WholeRange {
    std::int64_t first = 0;
    std::uint64_t size = 0;
};

// What a batch's settings can make.
struct UniqueSpace {
    std::uint64_t distinct = 0; // different records, saturating at DISTINCT_MANY
    std::uint64_t longest = 0;  // bytes of the longest record
    // The records can be numbered 0 .. numbered - 1 (0: they cannot, as the classic draws' cannot).
    std::uint64_t numbered = 0;
    std::optional<WholeRange> whole; // the records are the whole numbers of this range
};

// The strings page's draws from opt, and exact draws from alphabet with the odds of its bodies.
UniqueSpace StringsSpace(const StringOptions& opt);
UniqueSpace StringsSpace(const StringOptions& opt, const Alphabet& alphabet, const BodyOdds& odds);
// The numbers page's draws from opt, and exact draws over range.
UniqueSpace NumbersSpace(const NumberOptions& opt);
UniqueSpace NumbersSpace(const ExactRange& range);

// How a unique batch keeps its records apart, and the memory that costs at most.
struct UniquePlan {
    enum Way {
        Remember, // a set of the records made
        Bitmap,   // whole numbers: one bit per value they can take
        Shuffle,  // records numbered 0 .. shuffled - 1, a permutation drawn
    } way = Remember;
    std::uint64_t bytes = 0;
    WholeRange bitmap;          // Bitmap
    std::uint64_t shuffled = 0; // Shuffle
};
UniquePlan PlanUnique(const UniqueSpace& space, std::int64_t count);

using MakeRecord = std::function<void(std::string&)>;
using MakeNumberedRecord = std::function<void(std::string&, std::uint64_t number)>;

// plan: Remember or Bitmap.
BatchResult MakeUniqueRecords(std::int64_t count, std::string_view recordEnd,
                              const UniquePlan& plan, const MakeRecord& make, RecordSink& sink,
                              const BatchControl& control, bool& exhausted);
// plan: Shuffle; count records numbered 0 .. plan.shuffled - 1, no number twice.
BatchResult MakeShuffledRecords(std::int64_t count, std::string_view recordEnd,
                                const UniquePlan& plan, const MakeNumberedRecord& make,
                                UniformSource& source, RecordSink& sink,
                                const BatchControl& control);

// count records of maker (StringComposer, NumberItemMaker) drawn from source, none twice, as plan
// says. exhausted: the source found no more new records.
template <class Maker, class Source>
BatchResult MakeUniqueBatch(const UniquePlan& plan, std::int64_t count, std::string_view recordEnd,
                            Maker& maker, Source& source, RecordSink& sink,
                            const BatchControl& control, bool& exhausted)
{
    exhausted = false;
    if constexpr (std::is_same_v<Source, UniformSource>)
        if (plan.way == UniquePlan::Shuffle)
            return MakeShuffledRecords(
                count, recordEnd, plan,
                [&](std::string& s, std::uint64_t n) { maker.AppendNumbered(s, n); }, source, sink,
                control);
    return MakeUniqueRecords(
        count, recordEnd, plan, [&](std::string& s) { maker.Append(s, source); }, sink, control,
        exhausted);
}

// Draws in a row that found nothing new before a batch gives up: while even one value in a million
// is still new, that many misses in a row have a chance below e^-67.
constexpr std::int64_t MAX_FRUITLESS_DRAWS = std::int64_t{1} << 26;
