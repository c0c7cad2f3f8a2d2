#pragma once
// The command line's settings: numbers read strictly, then checked in the pages' order. A refusal
// of a page's check carries the page's own message.

#include "Options.h"
#include "Unique.h"
#include "core/NumberItem.h"
#include "core/StringComposer.h"

#include <optional>
#include <string>

struct Settings {
    StringOptions strings;
    NumberOptions numbers;
    int minDelay = 0, maxDelay = 0; // events, in ms
    int count = 0;
    std::optional<std::uint32_t> seed;
    std::optional<WholeRange> uniqueWhole; // numbers --unique: the whole numbers' bitmap
};

// The first invalid setting's message in UTF-8: a number that is not wholly a number or out of its
// range, then the page's own check (its rule book, in the page's order, with its words); nothing
// when all are valid. No side effects. Then the command line's own: --unique beyond what the
// settings can make or memoryBytes can hold.
std::optional<std::string> CheckSettings(const CliOptions& cli, Settings& out,
                                         std::uint64_t memoryBytes);
