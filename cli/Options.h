#pragma once
// The command line as given: which command, its settings as typed, and the output options. Each
// command adds its own options in a setup function of its own (Commands.h). ParseCommandLine has
// no side effects (it prints nothing and touches no file), so that tests and a fuzzer can call it
// on any arguments.

#include "Language.h"
#include "core/EventsRules.h"
#include "core/NumbersRules.h"
#include "core/StringsRules.h"

#include <optional>
#include <string>
#include <vector>

enum class Command { Strings, Numbers, Events };
enum class Encoding { Utf8, Gbk, Gb18030 };

// Settings are kept as typed (UTF-8): they are read later by the pages' own rules. The defaults
// are the pages' own.
struct StringsArgs {
    bool upper = false, lower = false, digits = false, hanzi = false;
    // The command line's own: not on the page, so not with --seed.
    bool symbols = false, noAmbiguous = false, requireEach = false;
    std::optional<std::string> charset;
    std::string exclude;
    std::string head, tail, insert;
    std::optional<std::string> length; // --length: both bounds
    std::string minLength = std::to_string(STRINGS_DEFAULT_LEN_MIN);
    std::string maxLength = std::to_string(STRINGS_DEFAULT_LEN_MAX);
    std::string count = std::to_string(STRINGS_DEFAULT_COUNT);
    bool unique = false;
    bool pronounceable = false; // speakable groups of letters (core/Pronounceable.h)
};

struct NumbersArgs {
    bool integer = false, decimal = false;
    std::string decimals = std::to_string(NUMBERS_DEFAULT_DECIMALS);
    std::string min = NUMBERS_DEFAULT_MIN, max = NUMBERS_DEFAULT_MAX;
    std::string count = std::to_string(NUMBERS_DEFAULT_COUNT);
    bool unique = false;
};

struct EventsArgs {
    std::string minDelay = std::to_string(EVENTS_DEFAULT_MIN_DELAY);
    std::string maxDelay = std::to_string(EVENTS_DEFAULT_MAX_DELAY);
    std::string count = std::to_string(EVENTS_DEFAULT_COUNT);
    std::optional<std::string> program; // --run: the whole text names the program
    std::vector<std::string> command;   // after "--": a program and its arguments
    bool iso = false;                   // ISO 8601 time stamps with milliseconds
};

struct CliOptions {
    Command command = Command::Strings;
    Language language = Language::English;
    StringsArgs strings;
    NumbersArgs numbers;
    EventsArgs events;
    std::optional<std::string> seed; // as typed: read with the other numbers
    bool verbose = false;
    bool crlf = false;                 // records end in "\r\n"; by default on Windows only
    std::optional<Encoding> encoding;  // none: UTF-8, or UTF-16 on a Windows console
    std::optional<std::string> output; // -o FILE; "-" is standard output and leaves this empty
};

struct ParseOutcome {
    std::optional<CliOptions> options; // set when the command is to run
    int exitCode = 0;                  // otherwise: 0 after --help or --version, 2 on a usage error
    std::string out;                   // help or version text (UTF-8)
    std::string err;                   // the usage error (UTF-8)
};

// args: the arguments after the program's name, in UTF-8; every text in language.
ParseOutcome ParseCommandLine(const std::vector<std::string>& args,
                              Language language = Language::English);
