#pragma once
// Batches in which no record repeats: a record already made is drawn again. The settings have been
// checked to allow count distinct records; should the source still stop finding new ones (a range
// the 15-bit source reaches only in part), the batch ends instead of looping for ever.

#include "core/Batch.h"

#include <optional>

// Whole numbers from first to first + size - 1: what a batch of whole numbers can make.
struct WholeRange {
    std::int64_t first = 0;
    std::uint64_t size = 0;
};

// What remembering the records of a unique batch of count records costs at most. Whole numbers
// are remembered by one bit per value they can take when that is less than a set of the records.
struct UniqueMemory {
    std::uint64_t bytes = 0;
    std::optional<WholeRange> bitmap;
};
UniqueMemory UniqueStringsMemory(const StringOptions& opt, std::int64_t count, bool secure);
UniqueMemory UniqueNumbersMemory(const NumberOptions& opt, std::int64_t count, bool secure);

BatchResult MakeUniqueStrings(const StringsBatch& batch, RandomSource& rng,
                              const ComposerSources& sources, RecordSink& sink,
                              const BatchControl& control, bool& exhausted);
// bitmap: from UniqueNumbersMemory; none keeps a set of the records.
BatchResult MakeUniqueNumbers(const NumbersList& list, const std::optional<WholeRange>& bitmap,
                              RandomSource& rng, RecordSink& sink, const BatchControl& control,
                              bool& exhausted);

// Draws in a row that found nothing new before a batch gives up: several seconds of drawing.
constexpr std::int64_t MAX_FRUITLESS_DRAWS = std::int64_t{1} << 26;
