#include "Options.h"

#include "res/version.h"

#include <CLI/CLI.hpp>

#include <sstream>

namespace {

#define ZANFOR_STR2(x) #x
#define ZANFOR_STR(x) ZANFOR_STR2(x)

constexpr const char* kDescription =
    "Random test data from the command line: strings, whole and decimal numbers, timestamped "
    "events. Every default is the program's page default. A number must be the whole argument, "
    "within its setting's range; the settings are then checked as the page checks them. Records "
    "go to standard output or -o FILE, one a line.";

// Values CLI11 fills; copied into the optional fields when given.
struct Given {
    std::string seed, output, program, encoding;
};

void AddOutputOptions(CLI::App& sub, CliOptions& o, Given& g)
{
    sub.add_option("--seed", g.seed,
                   "Seed the 15-bit source with S (0..4294967295), as the page's "
                   "clock seed would: the same S and settings give the same bytes. "
                   "Default: the clock, in whole seconds")
        ->type_name("S");
    sub.add_flag("--secure", o.secure,
                 "Draw from the system's cryptographic source, uniform over the whole range, "
                 "for real passwords. Not with --seed");
    sub.add_flag("--verbose", o.verbose, "Print the seed used on standard error");
    sub.add_option("-o,--output", g.output, "Write the records to FILE instead of standard output")
        ->type_name("FILE");
    sub.add_flag("--lf", o.lf, "End records in \"\\n\" instead of \"\\r\\n\"");
    sub.add_option("--encoding", g.encoding,
                   "utf-8 or gbk. Default utf-8; on a Windows console the text is shown as it is, "
                   "whatever the code page")
        ->type_name("ENC")
        ->check(CLI::IsMember({"utf-8", "gbk"}, CLI::ignore_case).description(""));
}

// --help-all prints every command under a heading of its own, which help2man turns into a section
// of the man page.
class HelpFormatter : public CLI::Formatter {
public:
    std::string make_expanded(const CLI::App* sub) const override
    {
        std::string out =
            "\n" + sub->get_description() + " (zanfor-cli " + sub->get_name() + " [OPTIONS]):\n";
        for (const CLI::Option* opt : sub->get_options([sub](const CLI::Option* o) {
                 return o->nonpositional() && o != sub->get_help_ptr() &&
                        o != sub->get_help_all_ptr();
             }))
            out += make_option(opt, false);
        return out;
    }
};

} // namespace

std::string VersionText()
{
    return "zanfor-cli " ZANFOR_STR(ZANFOR_VERSION_MAJOR) "." ZANFOR_STR(
        ZANFOR_VERSION_MINOR) "." ZANFOR_STR(ZANFOR_VERSION_PATCH) "." ZANFOR_STR(ZANFOR_VERSION_BUILD);
}

ParseOutcome ParseCommandLine(const std::vector<std::string>& args)
{
    CliOptions o;
    Given given;
    CLI::App app(kDescription, "zanfor-cli");
    app.formatter(std::make_shared<HelpFormatter>());
    app.set_version_flag("--version", VersionText());
    app.set_help_all_flag("--help-all", "Print the help of every command and exit");
    app.require_subcommand(1);
    app.get_formatter()->column_width(26);

    CLI::App* strings =
        app.add_subcommand("strings", "Random strings, as the strings page makes them");
    strings->add_flag("--upper", o.strings.upper, "Upper-case letters A-Z");
    strings->add_flag("--lower", o.strings.lower, "Lower-case letters a-z");
    strings->add_flag("--digits", o.strings.digits, "Digits 0-9");
    strings->add_flag("--hanzi", o.strings.hanzi,
                      "Chinese characters (GB2312 level 1). None of the four: --upper --lower");
    strings->add_option("--head", o.strings.head, "Text put before the random body")
        ->type_name("TEXT");
    strings->add_option("--tail", o.strings.tail, "Text put after the random body")
        ->type_name("TEXT");
    strings
        ->add_option("--insert", o.strings.insert,
                     "\"pos|text|pos|text...\": texts inserted at byte positions (GBK bytes), "
                     "positions from the largest to the smallest")
        ->type_name("SPEC");
    strings->add_option("--min-length", o.strings.minLength, "Shortest body, in characters")
        ->type_name("N")
        ->capture_default_str();
    strings->add_option("--max-length", o.strings.maxLength, "Longest body, in characters")
        ->type_name("N")
        ->capture_default_str();
    strings->add_option("-n,--count", o.strings.count, "Number of strings")
        ->type_name("N")
        ->capture_default_str();
    strings->add_flag("--unique", o.strings.unique,
                      "No string repeats; refused when the settings cannot make that many");
    AddOutputOptions(*strings, o, given);

    CLI::App* numbers = app.add_subcommand(
        "numbers", "Random whole and decimal numbers, as the numbers page makes them");
    numbers->add_flag("--int", o.numbers.integer, "Whole numbers");
    numbers->add_flag("--float", o.numbers.decimal, "Decimal numbers. Neither: both kinds");
    numbers->add_option("--decimals", o.numbers.decimals, "Digits after the point (--float)")
        ->type_name("N")
        ->capture_default_str();
    numbers->add_option("--min", o.numbers.min, "Lower bound of the range")
        ->type_name("X")
        ->capture_default_str();
    numbers->add_option("--max", o.numbers.max, "Upper bound of the range")
        ->type_name("X")
        ->capture_default_str();
    numbers->add_option("-n,--count", o.numbers.count, "Number of numbers")
        ->type_name("N")
        ->capture_default_str();
    numbers->add_flag("--unique", o.numbers.unique,
                      "No number repeats; refused when the range cannot hold that many");
    AddOutputOptions(*numbers, o, given);

    CLI::App* events =
        app.add_subcommand("events", "Timestamped events at random intervals; each line goes "
                                     "out the moment it happens");
    events->add_option("--min-delay", o.events.minDelay, "Shortest delay before an event, ms")
        ->type_name("MS")
        ->capture_default_str();
    events->add_option("--max-delay", o.events.maxDelay, "Longest delay before an event, ms")
        ->type_name("MS")
        ->capture_default_str();
    events->add_option("-n,--count", o.events.count, "Number of events")
        ->type_name("N")
        ->capture_default_str();
    events
        ->add_option("--run", given.program,
                     "Start PROGRAM at every event (the whole text is the program's name)")
        ->type_name("PROGRAM");
    AddOutputOptions(*events, o, given);

    ParseOutcome outcome;
    std::ostringstream out, err;
    try {
        // CLI11 takes the arguments last first.
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        outcome.out = out.str();
        outcome.err = err.str();
        outcome.exitCode = code == 0 ? 0 : 2;
        return outcome;
    }
    CLI::App* sub = app.got_subcommand(strings)   ? strings
                    : app.got_subcommand(numbers) ? numbers
                                                  : events;
    o.command = sub == strings   ? Command::Strings
                : sub == numbers ? Command::Numbers
                                 : Command::Events;
    if (sub->count("--seed"))
        o.seed = given.seed;
    if (o.seed && o.secure) { // said here: CLI11's own "Excludes" clutters every help line
        outcome.err = "--secure cannot be combined with --seed: a seeded run is predictable\n"
                      "Run with --help for more information.\n";
        outcome.exitCode = 2;
        return outcome;
    }
    if (sub->count("--output"))
        o.output = given.output;
    if (sub->count("--encoding"))
        o.encoding =
            CLI::detail::to_lower(given.encoding) == "gbk" ? Encoding::Gbk : Encoding::Utf8;
    if (sub == events && sub->count("--run"))
        o.events.program = given.program;
    outcome.options = o;
    return outcome;
}
