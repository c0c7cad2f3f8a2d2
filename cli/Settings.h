#pragma once
// The command line's settings read by the pages' own rules and checked in the pages' order. A
// refusal carries the page's own message.

#include "Options.h"
#include "core/NumberItem.h"
#include "core/StringComposer.h"

#include <optional>
#include <string>

struct Settings {
    StringOptions strings;
    NumberOptions numbers;
    int minDelay = 0, maxDelay = 0; // events, in ms
    int count = 0;
};

// The first invalid setting's message in GBK, as its page shows it; nothing when all are valid.
// No side effects: the page's checks, then the command line's own (--unique).
std::optional<std::string> CheckSettings(const CliOptions& cli, Settings& out);
