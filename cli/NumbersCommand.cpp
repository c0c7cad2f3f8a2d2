// zanfor-cli numbers: the numbers page's settings; without --seed the bounds as typed.
#include "Commands.h"

#include <limits>

CommandSetup SetupNumbers(CLI::App& app, CliOptions& o, const Words& w)
{
    CLI::App* sub = app.add_subcommand(
        "numbers", w("Random whole and decimal numbers; --seed: as the Zanfor tool's numbers page",
                     u8"随机整数和小数；--seed：同 Zanfor 工具的数字页"));
    NumbersArgs& n = o.numbers;
    sub->add_flag("--int", n.integer, w("Whole numbers", u8"整数"));
    sub->add_flag("--float", n.decimal,
                  w("Decimal numbers. Neither: both kinds", u8"小数。两者都不指定时：两种都有"));
    sub->add_option("--decimals", n.decimals,
                    w("Digits after the point (--float)", u8"小数位数（--float）"))
        ->type_name("N")
        ->capture_default_str();
    sub->add_option("--min", n.min, w("Lower bound of the range", u8"范围下限"))
        ->type_name("X")
        ->capture_default_str();
    sub->add_option("--max", n.max, w("Upper bound of the range", u8"范围上限"))
        ->type_name("X")
        ->capture_default_str();
    sub->add_option("-n,--count", n.count, w("Number of numbers", u8"生成个数"))
        ->type_name("N")
        ->capture_default_str();
    sub->add_flag("--unique", n.unique,
                  w("No number (as written) repeats; refused when the range cannot hold that many",
                    u8"数字（按写出的文字）不重复；范围容不下那么多时拒绝"));
    return {Command::Numbers, sub, [] { return Refusal(); }};
}

Refusal CheckNumbersArgs(const Words& w, const CliOptions& cli, Settings& out,
                         std::uint64_t memoryBytes)
{
    const NumbersArgs& a = cli.numbers;
    const bool none = !a.integer && !a.decimal;
    NumbersInput in{.integer = a.integer || (none && NUMBERS_DEFAULT_INTEGER),
                    .decimal = a.decimal || (none && NUMBERS_DEFAULT_FLOAT)};
    if (auto r = ReadDecimal(w, "--min", a.min, in.min))
        return r;
    if (auto r = ReadDecimal(w, "--max", a.max, in.max))
        return r;
    if (auto r = ReadCount(w, a.count, out, in.count))
        return r;
    // The decimals are read only when decimal items are asked for, as on the page.
    if (in.decimal)
        if (auto r = ReadWhole(w, "--decimals", a.decimals, in.decimals))
            return r;
    TypedDecimal min, max;
    min.Read(a.min);
    max.Read(a.max);
    // A seeded run repeats the page's draws unless it asks for what they cannot hold: a bound
    // beyond their 32 bits, or --unique.
    out.pageDraws = cli.seed && !a.unique;
    for (const bool isMin : {true, false})
        out.pageDraws = out.pageDraws &&
                        !(in.decimal && !ClassicHoldsDecimal(isMin ? in.min : in.max)) &&
                        !(in.integer && !ClassicHoldsWhole(isMin ? min : max));
    const std::string range = "--min " + a.min + " --max " + a.max;
    if (!out.pageDraws) {
        // The exact draws take the bounds as typed: a whole bound beyond 64 bits is out of
        // range, whatever the other, and their order is theirs (two that round to one float can
        // still be the wrong way round).
        for (const bool isMin : {true, false}) {
            std::int64_t whole; // the bound as the range takes it: the lower rounded up
            const TypedDecimal& b = isMin ? min : max;
            const std::string lo = std::to_string(std::numeric_limits<std::int64_t>::min()),
                              hi = std::to_string(std::numeric_limits<std::int64_t>::max());
            if (in.integer && !b.Scaled(0, isMin).ToInt64(whole))
                return BadValue(
                    w, isMin ? "--min" : "--max", isMin ? a.min : a.max,
                    w.Pick("out of range for whole numbers (" + lo + " to " + hi + ")",
                           U8(u8"超出整数的范围（") + lo + U8(u8" 到 ") + hi + U8(u8"）")));
        }
        if (Compare(min, max) > 0) {
            in.min = 1;
            in.max = 0;
        }
    }
    NumberOptions& o = out.numbers;
    if (auto r = Page(
            w, CheckNumbers(in, o),
            {{MSG_BAD_DECIMALS, "--decimals " + a.decimals, w("must be 0 or more", u8"不能小于 0")},
             {MSG_BAD_RANGE, range, w("--min is above --max", u8"--min 大于 --max")},
             {MSG_BAD_COUNT, "-n " + a.count, w("must be at least 1", u8"至少为 1")},
             {MSG_TOO_MANY_DECIMALS, "--decimals " + a.decimals,
              w("a number would take over 64 MiB", u8"一个数会超过 64 MiB")}}))
        return r;
    if (auto r = CheckPageCount(w, a.count, out))
        return r;
    if (out.pageDraws) {
        out.warning = ReachWarning(w, range, ClassicCut(o));
        return std::nullopt;
    }
    switch (MakeExactRange(min, max, o.m_bInteger, o.m_bFloat, o.m_nDecimals, out.range)) {
    case RangeProblem::None:
    case RangeProblem::MinOutOfRange: // said above
    case RangeProblem::MaxOutOfRange:
        break;
    case RangeProblem::NoWholeNumber:
        return Refused(w, w(MSG_BAD_RANGE), range,
                       w("no whole number lies between them", u8"其间没有整数"));
    case RangeProblem::NoDecimal:
        const std::string decimals = std::to_string(o.m_nDecimals);
        return Refused(w, w(MSG_BAD_RANGE), range,
                       w.Pick("no number with " + decimals + " decimals lies between them",
                              U8(u8"其间没有保留 ") + decimals + U8(u8" 位小数的数")));
    }
    return a.unique ? CheckUnique(w, NumbersSpace(out.range), out, memoryBytes) : std::nullopt;
}

BatchResult RunNumbers(const RunFrame& run, bool& exhausted)
{
    const NumberItemMaker maker(run.settings.numbers, run.settings.range);
    return RunMaker(run, maker, run.cli.numbers.unique, exhausted);
}
