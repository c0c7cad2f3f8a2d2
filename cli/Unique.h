#pragma once
// Batches in which no record repeats. Sparse ones draw records and draw again when one was made
// before, remembering what they made; should the source stop finding new ones (a range that the
// 15-bit source reaches only in part), the batch ends instead of looping for ever. A batch that
// takes a dense share of its space (a quarter or more) shuffles instead: the records are numbered
// and a random permutation of the numbers is taken, so that the last records cost no more than the
// first.

#include "core/UniformSource.h"
#include "core/Batch.h"

#include <functional>
#include <optional>

// Whole numbers from first to first + size - 1: what a batch of whole numbers can make.
struct WholeRange {
    std::int64_t first = 0;
    std::uint64_t size = 0;
};

// How a unique batch keeps its records apart, and the memory that costs at most.
struct UniquePlan {
    enum Way {
        Remember, // a set of the records made
        Bitmap,   // whole numbers: one bit per value they can take
        Shuffle,  // records numbered 0 .. space - 1, a permutation drawn
    } way = Remember;
    std::uint64_t bytes = 0;
    WholeRange bitmap;       // Bitmap
    std::uint64_t space = 0; // Shuffle
};

// With --seed, over the pages' draws.
UniquePlan UniqueStringsPlan(const StringOptions& opt, std::int64_t count);
UniquePlan UniqueNumbersPlan(const NumberOptions& opt, std::int64_t count);
// Without --seed. space: the records can be numbered 0 .. space - 1 (0: they cannot);
// wholeNumbers: they are the whole numbers of that range.
UniquePlan UniqueSecurePlan(std::uint64_t longestRecord, std::int64_t count, std::uint64_t space,
                            const std::optional<WholeRange>& wholeNumbers = {});

using MakeRecord = std::function<void(std::string&)>;
using MakeNumberedRecord = std::function<void(std::string&, std::uint64_t number)>;

// plan: Remember or Bitmap.
BatchResult MakeUniqueRecords(std::int64_t count, std::string_view recordEnd,
                              const UniquePlan& plan, const MakeRecord& make, RecordSink& sink,
                              const BatchControl& control, bool& exhausted);
// plan: Shuffle; count records numbered 0 .. plan.space - 1, no number twice.
BatchResult MakeShuffledRecords(std::int64_t count, std::string_view recordEnd,
                                const UniquePlan& plan, const MakeNumberedRecord& make,
                                UniformSource& source, RecordSink& sink,
                                const BatchControl& control);

// Draws in a row that found nothing new before a batch gives up: several seconds of drawing.
constexpr std::int64_t MAX_FRUITLESS_DRAWS = std::int64_t{1} << 26;
