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
    const bool seeded = cli.seed.has_value();
    const bool none = !a.integer && !a.decimal;
    NumbersInput in{.integer = a.integer || (none && NUMBERS_DEFAULT_INTEGER),
                    .decimal = a.decimal || (none && NUMBERS_DEFAULT_FLOAT)};
    if (auto r = ReadDecimal(w, "--min", a.min, in.min))
        return r;
    if (auto r = ReadDecimal(w, "--max", a.max, in.max))
        return r;
    if (auto r = ReadWhole(w, "--count", a.count, in.count))
        return r;
    // The decimals are read only when decimal items are asked for, as on the page.
    if (in.decimal)
        if (auto r = ReadWhole(w, "--decimals", a.decimals, in.decimals))
            return r;
    // Without --seed the bounds are the numbers as typed, which decide their order: two that
    // round to one float can still be the wrong way round.
    TypedDecimal min, max;
    min.Read(a.min);
    max.Read(a.max);
    if (!seeded && Compare(min, max) > 0) {
        in.min = 1;
        in.max = 0;
    }
    NumberOptions& o = out.numbers;
    if (auto r = Page(w, CheckNumbers(in, o)))
        return r;
    out.count = o.m_nCount;
    // With --seed the page's draws, which must hold the bounds as typed.
    for (const bool isMin : {true, false}) {
        const char* option = isMin ? "--min" : "--max";
        const std::string& text = isMin ? a.min : a.max;
        if (seeded && o.m_bFloat && !ClassicHoldsDecimal(isMin ? o.m_fMin : o.m_fMax))
            return BadValue(
                w, option, text,
                w("is out of range for the page's decimals, which --seed repeats "
                  "(-214748.3648 to 214748.3647)",
                  u8"超出 --seed 所重现的页面小数的范围（-214748.3648 到 214748.3647）"));
        if (seeded && o.m_bInteger && !ClassicHoldsWhole(isMin ? min : max))
            return BadValue(w, option, text,
                            w("is out of range for the page's whole numbers, which --seed repeats "
                              "(-2147483648 to 2147483647)",
                              u8"超出 --seed 所重现的页面整数的范围（-2147483648 到 2147483647）"));
    }
    if (seeded)
        return a.unique ? CheckUnique(w, NumbersSpace(o), out, memoryBytes) : std::nullopt;
    const std::string decimals = std::to_string(o.m_nDecimals);
    switch (const RangeProblem problem =
                MakeExactRange(min, max, o.m_bInteger, o.m_bFloat, o.m_nDecimals, out.range)) {
    case RangeProblem::None:
        break;
    case RangeProblem::MinOutOfRange:
    case RangeProblem::MaxOutOfRange: {
        // Only whole numbers have a limit of their own; decimals have the float's.
        const bool isMin = problem == RangeProblem::MinOutOfRange;
        const std::string lo = std::to_string(std::numeric_limits<std::int64_t>::min()),
                          hi = std::to_string(std::numeric_limits<std::int64_t>::max());
        return BadValue(w, isMin ? "--min" : "--max", isMin ? a.min : a.max,
                        w.Pick("is out of range for whole numbers (" + lo + " to " + hi + ")",
                               U8(u8"超出整数的范围（") + lo + U8(u8" 到 ") + hi + U8(u8"）")));
    }
    case RangeProblem::NoWholeNumber:
        return w("no whole number lies between --min and --max", u8"--min 与 --max 之间没有整数！");
    case RangeProblem::NoDecimal:
        return w.Pick("no number with " + decimals + " decimals lies between --min and --max",
                      U8(u8"--min 与 --max 之间没有保留 ") + decimals + U8(u8" 位小数的数！"));
    }
    return a.unique ? CheckUnique(w, NumbersSpace(out.range), out, memoryBytes) : std::nullopt;
}

BatchResult RunNumbers(const RunFrame& run, bool& exhausted)
{
    const NumberItemMaker maker(run.settings.numbers, run.settings.range);
    return RunMaker(run, maker, run.cli.numbers.unique, exhausted);
}
