#pragma once
// zanfor-cli's three commands, a file each: the setup function that adds the command and its own
// options to the command line (CLI11's manner), the check of its settings as typed, and its run.

#include "Settings.h"
#include "System.h"
#include "core/Batch.h"
#include "core/Random.h"
#include "core/SeededBits.h"
#include "core/UniformSource.h"
#include "platform/SecureRandom.h"

#include <CLI/CLI.hpp>

#include <atomic>
#include <functional>

// The help, in the language of the other messages. --help-all prints every command under a heading
// of its own, which help2man turns into a section of the man page.
class HelpFormatter : public CLI::Formatter {
public:
    explicit HelpFormatter(const Words& w) : m_w(w) {}
    std::string make_help(const CLI::App* app, std::string name,
                          CLI::AppFormatMode mode) const override;
    std::string make_expanded(const CLI::App* sub) const override;

private:
    std::string OptionLines(const CLI::App* app, bool helpFlags) const;
    Words m_w;
};

// A command added to the command line. Once it was chosen and its arguments parsed, finish says
// what CLI11 does not: an option that cannot go with another (a usage error), or nothing.
struct CommandSetup {
    Command command;
    CLI::App* app;
    std::function<Refusal()> finish;
};
// "A cannot be combined with B: why", a usage error.
std::string Conflict(const Words& w, const std::string& a, const std::string& b,
                     const std::string& why);

CommandSetup SetupStrings(CLI::App& app, CliOptions& o, const Words& w);
CommandSetup SetupNumbers(CLI::App& app, CliOptions& o, const Words& w);
CommandSetup SetupEvents(CLI::App& app, CliOptions& o, const Words& w,
                         const std::optional<std::vector<std::string>>& afterDashes);

Refusal CheckStringsArgs(const Words& w, const CliOptions& cli, Settings& out,
                         std::uint64_t memoryBytes);
Refusal CheckNumbersArgs(const Words& w, const CliOptions& cli, Settings& out,
                         std::uint64_t memoryBytes);
Refusal CheckEventsArgs(const Words& w, const CliOptions& cli, Settings& out);

// What a command's run works with.
struct RunFrame {
    const CliOptions& cli;
    const Settings& settings;
    const Words& w;
    RecordSink& records;
    Device& err;
    Clock& clock;
    const BatchControl& control; // the stop flag and the progress line
};

// Said on standard error before anything is written: --insert pairs that no string takes.
void TellAboutStrings(Device& err, const Words& w, const Settings& settings);
// exhausted: --unique found no more new records.
BatchResult RunStrings(const RunFrame& run, bool& exhausted);
BatchResult RunNumbers(const RunFrame& run, bool& exhausted);
BatchResult RunEvents(const RunFrame& run, EventSeries& series);

// Calls make(source) with the run's source: the page's 15-bit one seeded as the page seeds it, or
// exact draws from the seeded generator or the system's secure bits.
template <class Make> BatchResult WithSource(const Settings& settings, Make make)
{
    if (settings.pageDraws) {
        SeedRandom(*settings.seed);
        RandomSource rng = TheRandomSource();
        return make(rng);
    }
    if (settings.seed)
        SeedBits(*settings.seed);
    UniformSource source(settings.seed ? &FillSeededBits : &FillSecureRandom);
    return make(source);
}

// count records of maker from the run's source, none twice when unique.
template <class Maker>
BatchResult RunMaker(const RunFrame& run, Maker& maker, bool unique, bool& exhausted)
{
    const std::string_view end = run.cli.crlf ? "\r\n" : "\n";
    return WithSource(run.settings, [&](auto& source) {
        if (unique)
            return MakeUniqueBatch(run.settings.unique, run.settings.count, end, maker, source,
                                   run.records, run.control, exhausted);
        return MakeRecords(
            run.settings.count, end, [&](std::string& s) { maker.Append(s, source); }, run.records,
            run.control);
    });
}

// Writes UTF-8 text to a console as text, to anything else as bytes.
void Say(Device& err, const std::string& utf8);
std::string Utf8(std::string_view gbk);
