#pragma once
// The command line's settings: numbers read strictly, then checked in the pages' order. A refusal
// of a page's check carries the page's own message (in English outside a Chinese locale).

#include "Options.h"
#include "core/Alphabet.h"
#include "core/ExactNumbers.h"
#include "core/NumberItem.h"
#include "core/Pronounceable.h"
#include "core/StringComposer.h"
#include "core/Unique.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct Settings {
    StringOptions strings;
    NumberOptions numbers;
    int minDelay = 0, maxDelay = 0; // events, in ms
    std::int64_t count = 0;
    std::optional<std::uint32_t> seed;
    // The pages' 15-bit draws: a seeded run that asks for nothing the page lacks. Otherwise exact
    // draws, from the seeded generator with a seed (core/SeededBits.h), else the system's.
    bool pageDraws = false;
    std::string warning; // said on standard error before the run: a range the draws cannot reach
    // The exact draws: what the strings are drawn from, and the numbers' exact range.
    Alphabet alphabet;
    BodyOdds odds;
    std::shared_ptr<const Pronounceable> spoken; // --pronounceable
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

// The readers the commands share. A refusal is a message in UTF-8; none when all is well.
using Refusal = std::optional<std::string>;
// Every refusal of a setting, in one form: the setting's words (the page's own where it has
// them), then what was given and what is wrong with it: "生成个数设定无效！（-n 0：至少为 1）",
// "invalid count (-n 0: must be at least 1)".
std::string Refused(const Words& w, const std::string& words, const std::string& given,
                    const std::string& why);
// The words of the setting an option gives.
std::string SettingWords(const Words& w, const std::string& option);
// Refused for one option and its value.
std::string BadValue(const Words& w, const std::string& option, const std::string& text,
                     const std::string& why);
// A whole number (int, std::int64_t or std::uint32_t), the whole argument, within its type's range:
// a script's typo must not become another count or seed (the pages' boxes read leniently,
// core/FieldText.h).
template <class Int>
Refusal ReadWhole(const Words& w, const char* option, const std::string& text, Int& value);
// -n, up to 2^63 - 1, into out.count; pageCount: the same within the page's int, for its check.
Refusal ReadCount(const Words& w, const std::string& text, Settings& out, int& pageCount);
// The pages count in 32 bits: a run of their draws keeps their limit.
Refusal CheckPageCount(const Words& w, const std::string& text, const Settings& out);
// A decimal number as a box takes it (no inf, nan or hexadecimal), read as the box reads it, which
// must give a finite single-precision float.
Refusal ReadDecimal(const Words& w, const char* option, const std::string& text, float& value);
// A text for a GBK setting; unspellable when GBK cannot spell it (or it is not UTF-8). With
// beyondGbk, a character GBK cannot spell takes its four-byte form (core/ExtendedGbk.h).
SettingText ReadGbk(const std::string& utf8, bool beyondGbk = false);
// The warning for page draws that reach only a part of what given asks for; "" when they reach
// all of it.
std::string ReachWarning(const Words& w, const std::string& given, const ClassicReach& cut);
// A text argument that is not UTF-8 (a terminal in another encoding, say): refused as such, not as
// a character that GBK cannot spell.
Refusal NotUtf8(const Words& w, const char* option, const std::string& text);
// A refusal of a rule book's check, in w's words, with what was given and why when details has
// its message.
struct PageDetail {
    Wording message;
    std::string given, why;
};
Refusal Page(const Words& w, const Wording& refusal, std::initializer_list<PageDetail> details);
// "GBK 无法表示“😀”（U+1F600）": the first character of utf8 that GBK cannot spell.
std::string BeyondGbk(const Words& w, const std::string& utf8);
// --unique: how the batch keeps its records apart; refused beyond what the settings can make, or
// beyond the memory that can remember its records.
Refusal CheckUnique(const Words& w, const UniqueSpace& space, Settings& out,
                    std::uint64_t memoryBytes);
