#pragma once
// The command line's settings: numbers read strictly, then checked in the pages' order. A refusal
// of a page's check carries the page's own message (in English outside a Chinese locale).

#include "core/Alphabet.h"
#include "core/ExactNumbers.h"
#include "Options.h"
#include "core/Unique.h"
#include "core/NumberItem.h"
#include "core/StringComposer.h"

#include <optional>
#include <string>
#include <vector>

struct Settings {
    StringOptions strings;
    NumberOptions numbers;
    int minDelay = 0, maxDelay = 0; // events, in ms
    int count = 0;
    std::optional<std::uint32_t> seed;
    // Without --seed: what the strings are drawn from, and the numbers' exact range.
    Alphabet alphabet;
    BodyOdds odds;
    ExactRange range;
    UniquePlan unique; // with --unique
    // Events: the program and its arguments, started at every event; empty: none.
    std::vector<std::string> command;
};

// The first invalid setting's message in UTF-8, in the options' language: a number that is not
// wholly a number or out of its range, then the page's own check (its rule book, in the page's
// order, with its words); nothing when all are valid. No side effects. Then the command line's
// own: its character options, the exact range, and --unique beyond what the settings can make or
// memoryBytes can hold.
std::optional<std::string> CheckSettings(const CliOptions& cli, Settings& out,
                                         std::uint64_t memoryBytes);
