#pragma once
// --insert pairs that no string of a run takes: the strings are as on the page, but the user hears
// which pair was skipped and why (a position past the end, or not below an earlier one).

#include "core/StringComposer.h"

#include <string>
#include <vector>

struct SkippedInsert {
    std::string position, text; // the pair's fields as typed (GBK)
    int value = 0;              // the position as the page reads it
    bool pastTheEnd = false;    // else: not below an earlier position
    bool notANumber = false;    // the position is not wholly a number: it reads as 0
};

// The pairs of spec that no string takes, when the strings before their insertions are from
// shortest to longest bytes long, in steps of step (2: bodies of Chinese characters only).
std::vector<SkippedInsert> SkippedInserts(const CString& spec, const ComposerSources& sources,
                                          long long shortest, long long longest, long long step);
