#pragma once
// Batches in which no record repeats: a record already made is drawn again. The settings have been
// checked to allow count distinct records; should the source still stop finding new ones (a range
// the 15-bit source reaches only in part), the batch ends instead of looping for ever.

#include "core/Batch.h"

// Made records are remembered: memory grows with the count.
BatchResult MakeUniqueStrings(const StringsBatch& batch, RandomSource& rng,
                              const ComposerSources& sources, RecordSink& sink,
                              const BatchControl& control, bool& exhausted);
BatchResult MakeUniqueNumbers(const NumbersList& list, RandomSource& rng, RecordSink& sink,
                              const BatchControl& control, bool& exhausted);

// Draws in a row that found nothing new before a batch gives up: several seconds of drawing.
constexpr std::int64_t MAX_FRUITLESS_DRAWS = std::int64_t{1} << 26;
