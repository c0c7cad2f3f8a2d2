#include "Settings.h"

#include "ArgumentNumbers.h"
#include "platform/TextConversion.h"

#include <bit>
#include <cstdio>
#include <limits>

namespace {

using Refusal = std::optional<std::string>;

// "--count 的值“1e20”不是整数！" or "--count: "1e20" is not a whole number".
Refusal BadValue(const Words& w, const std::string& option, const std::string& text,
                 const std::string& why)
{
    return w.Pick(option + ": \"" + text + "\" " + why,
                  option + U8(u8" 的值“") + text + U8(u8"”") + why + U8(u8"！"));
}

std::string OutOfRange(const Words& w, std::int64_t lo, std::int64_t hi)
{
    const std::string l = std::to_string(lo), h = std::to_string(hi);
    return w.Pick("is out of range (" + l + " to " + h + ")",
                  U8(u8"超出范围（") + l + U8(u8" 到 ") + h + U8(u8"）"));
}

// A whole-number setting; a refusal when the argument is not wholly such a number.
template <class Int>
Refusal ReadWhole(const Words& w, const char* option, const std::string& text, Int& value)
{
    constexpr std::int64_t lo = std::numeric_limits<Int>::min(),
                           hi = std::numeric_limits<Int>::max();
    std::int64_t read = 0;
    switch (ReadWholeArgument(text, lo, hi, read)) {
    case ArgumentNumber::Ok:
        value = static_cast<Int>(read);
        return std::nullopt;
    case ArgumentNumber::NotANumber:
        return BadValue(w, option, text, w("is not a whole number", u8"不是整数"));
    case ArgumentNumber::OutOfRange:
        break;
    }
    return BadValue(w, option, text, OutOfRange(w, lo, hi));
}

Refusal ReadDecimal(const Words& w, const char* option, const std::string& text, float& value)
{
    switch (ReadDecimalArgument(text, value)) {
    case ArgumentNumber::Ok:
        return std::nullopt;
    case ArgumentNumber::NotANumber:
        return BadValue(w, option, text, w("is not a number", u8"不是数字"));
    case ArgumentNumber::OutOfRange:
        break;
    }
    return BadValue(w, option, text,
                    w("is out of range (a 32-bit float)", u8"超出范围（单精度浮点数）"));
}

// A text for a GBK setting; unspellable when GBK cannot spell it (or it is not UTF-8).
SettingText ReadGbk(const std::string& utf8)
{
    SettingText text;
    std::string bytes;
    text.unspellable = !GbkFromUtf8(utf8, bytes);
    text.gbk = CString(std::move(bytes));
    return text;
}

Refusal Page(const Words& w, const Wording& refusal)
{
    if (!refusal)
        return std::nullopt;
    return w(refusal);
}

// --unique: how the batch keeps its records apart; refused beyond what the settings can make, or
// beyond the memory that can remember its records.
Refusal CheckUnique(const Words& w, const UniqueSpace& space, Settings& out,
                    std::uint64_t memoryBytes)
{
    const int count = out.count;
    const UniquePlan& plan = out.unique = PlanUnique(space, count);
    const std::string n = std::to_string(count);
    if (space.distinct < static_cast<std::uint64_t>(count)) {
        const std::string m = std::to_string(space.distinct);
        return w.Pick("--unique: these settings make at most " + m +
                          " different records, fewer than the count " + n,
                      U8(u8"这些设定最多只能生成 ") + m + U8(u8" 个不重复的结果，少于生成个数 ") +
                          n + U8(u8"！"));
    }
    if (plan.bytes > memoryBytes) {
        constexpr std::uint64_t MiB = 1 << 20;
        const std::string need = std::to_string(plan.bytes / MiB),
                          have = std::to_string(memoryBytes / MiB);
        return w.Pick("--unique must remember " + n + " records, about " + need +
                          " MiB, more than this machine's " + have + " MiB",
                      U8(u8"--unique 要记住 ") + n + U8(u8" 个结果，约需 ") + need +
                          U8(u8" MiB 内存，超过本机的 ") + have + U8(u8" MiB！"));
    }
    return std::nullopt;
}

// UTF-16 units of a UTF-8 text: what a file name's length is counted in.
std::size_t Utf16Length(std::string_view utf8)
{
    std::size_t units = 0;
    for (unsigned char c : utf8) {
        if ((c & 0xC0) != 0x80)
            ++units; // a character starts here
        if (c >= 0xF0)
            ++units; // beyond the 16-bit plane: a surrogate pair
    }
    return units;
}

const char* ClassOption(std::uint8_t cls)
{
    switch (cls) {
    case CLASS_UPPER:
        return "--upper";
    case CLASS_LOWER:
        return "--lower";
    case CLASS_DIGIT:
        return "--digits";
    case CLASS_SYMBOL:
        return "--symbols";
    case CLASS_HANZI:
        return "--hanzi";
    default:
        return "--charset";
    }
}

// Without --seed: the union of the chosen characters, and what --require-each asks of it.
Refusal CheckAlphabet(const Words& w, const StringsArgs& a, const StringsInput& in,
                      const SettingText& charset, Settings& out)
{
    const SettingText exclude = ReadGbk(a.exclude);
    if (charset.unspellable || exclude.unspellable)
        return w.Pick(std::string(charset.unspellable ? "--charset" : "--exclude") +
                          " holds a character that GBK cannot spell",
                      std::string(charset.unspellable ? "--charset" : "--exclude") +
                          U8(u8" 含有 GBK 无法表示的字符！"));
    AlphabetChoice choice{.charset = charset.gbk.Str(),
                          .exclude = exclude.gbk.Str(),
                          .noAmbiguous = a.noAmbiguous,
                          .requireEach = a.requireEach};
    choice.classes =
        static_cast<std::uint8_t>((in.upper ? CLASS_UPPER : 0) | (in.lower ? CLASS_LOWER : 0) |
                                  (in.digit ? CLASS_DIGIT : 0) | (a.symbols ? CLASS_SYMBOL : 0) |
                                  (in.hanzi ? CLASS_HANZI : 0) | (a.charset ? CLASS_CHARSET : 0));
    std::uint8_t lost = 0;
    switch (BuildAlphabet(choice, out.alphabet, lost)) {
    case AlphabetProblem::None:
        break;
    case AlphabetProblem::ControlCharacter:
        return w("--charset holds a line break or another control character",
                 u8"--charset 含有换行符或其他控制字符！");
    case AlphabetProblem::Empty:
        return w("no character is left to draw from", u8"排除之后没有可抽取的字符！");
    case AlphabetProblem::ClassEmptied:
        return w.Pick(
            std::string("--require-each: ") + ClassOption(lost) + " has no character left to draw",
            std::string("--require-each：") + ClassOption(lost) + U8(u8" 已没有可抽取的字符！"));
    }
    const StringOptions& o = out.strings;
    out.odds = OddsOf(out.alphabet, o.m_nLenMin, o.m_nLenMax);
    if (out.odds.acceptance <= 0) {
        const std::string classes = std::to_string(std::popcount(out.alphabet.required));
        return w.Pick("--require-each needs bodies of at least " + classes +
                          " characters, longer than --max-length",
                      U8(u8"--require-each 要求随机部分至少有 ") + classes +
                          U8(u8" 个字符，超过了 --max-length！"));
    }
    // Drawn again whole, a string must not cost a million draws.
    if (out.odds.acceptance < 1e-6) {
        char tries[32];
        std::snprintf(tries, sizeof tries, "%.0f", 1 / out.odds.acceptance);
        return w.Pick(std::string("--require-each: only about one string in ") + tries +
                          " holds every chosen class; make the strings longer or choose fewer "
                          "classes",
                      U8(u8"--require-each：大约 ") + tries +
                          U8(u8" 个字符串中才有一个含有所选的每类字符；请加长字符串或少选几类！"));
    }
    return std::nullopt;
}

// A text argument that is not UTF-8 (a terminal in another encoding, say): it would otherwise be
// refused as a character that GBK cannot spell.
Refusal NotUtf8(const Words& w, const char* option, const std::string& text)
{
    if (IsUtf8(text))
        return std::nullopt;
    return w.Pick(std::string(option) +
                      " is not UTF-8 text, which zanfor-cli reads its arguments as",
                  option + U8(u8" 不是 UTF-8 文本，而 zanfor-cli 按 UTF-8 读取参数！"));
}

Refusal CheckStringsArgs(const Words& w, const CliOptions& cli, Settings& out,
                         std::uint64_t memoryBytes)
{
    const StringsArgs& a = cli.strings;
    const std::string noCharset;
    for (const auto& [option, text] :
         {std::pair<const char*, const std::string*>{"--head", &a.head},
          {"--tail", &a.tail},
          {"--insert", &a.insert},
          {"--charset", a.charset ? &*a.charset : &noCharset},
          {"--exclude", &a.exclude}})
        if (auto r = NotUtf8(w, option, *text))
            return r;
    const bool seeded = cli.seed.has_value();
    const SettingText charset = ReadGbk(a.charset.value_or(""));
    const bool others = a.symbols || a.charset.has_value();
    // No class given is the page as it opens; symbols add to it, an own set stands alone.
    const bool none = !a.upper && !a.lower && !a.digits && !a.hanzi && !a.charset;
    StringsInput in{.upper = a.upper || (none && STRINGS_DEFAULT_UPPER),
                    .lower = a.lower || (none && STRINGS_DEFAULT_LOWER),
                    .digit = a.digits || (none && STRINGS_DEFAULT_DIGIT),
                    .hanzi = a.hanzi || (none && STRINGS_DEFAULT_HANZI),
                    .others = others,
                    .twoByteOthers = false,
                    .head = ReadGbk(a.head),
                    .tail = ReadGbk(a.tail),
                    .insert = ReadGbk(a.insert)};
    for (const std::uint16_t code : GbkCharacters(charset.gbk.View()))
        in.twoByteOthers = in.twoByteOthers || code >= 0x100;
    if (a.length) {
        if (auto r = ReadWhole(w, "--length", *a.length, in.lenMin))
            return r;
        in.lenMax = in.lenMin;
    } else {
        if (auto r = ReadWhole(w, "--min-length", a.minLength, in.lenMin))
            return r;
        if (auto r = ReadWhole(w, "--max-length", a.maxLength, in.lenMax))
            return r;
    }
    if (auto r = ReadWhole(w, "--count", a.count, in.count))
        return r;
    StringsSettings s;
    // Without --seed the draws reach the upper bound however far it is: the longest string must
    // fit.
    if (auto r = Page(w, CheckStrings(in, s, !seeded)))
        return r;
    out.strings = s.options;
    out.count = s.count;
    if (!seeded)
        if (auto r = CheckAlphabet(w, a, in, charset, out))
            return r;
    if (!a.unique)
        return std::nullopt;
    return CheckUnique(
        w, seeded ? StringsSpace(s.options) : StringsSpace(s.options, out.alphabet, out.odds), out,
        memoryBytes);
}

// With --seed the page's draws: whole numbers are drawn between the bounds truncated to 32 bits,
// decimals between them in ten-thousandths held in 32 bits (-214748.3648 to 214748.3647). A
// bound beyond that would be clamped, and every item would lie outside the range given.
Refusal CheckSeededBounds(const Words& w, const NumbersArgs& a, const NumberOptions& o,
                          const TypedDecimal& min, const TypedDecimal& max)
{
    TypedDecimal wholeLow, wholeHigh; // the first whole numbers that truncate outside 32 bits
    wholeLow.Read("-2147483649");
    wholeHigh.Read("2147483648");
    for (const bool isMin : {true, false}) {
        const char* option = isMin ? "--min" : "--max";
        const std::string& text = isMin ? a.min : a.max;
        const double tenThousandths = static_cast<double>(isMin ? o.m_fMin : o.m_fMax) * 10000.0;
        if (o.m_bFloat && (tenThousandths >= 2147483648.0 || tenThousandths <= -2147483649.0))
            return BadValue(
                w, option, text,
                w("is out of range for the page's decimals, which --seed repeats "
                  "(-214748.3648 to 214748.3647)",
                  u8"超出 --seed 所重现的页面小数的范围（-214748.3648 到 214748.3647）"));
        const TypedDecimal& bound = isMin ? min : max;
        if (o.m_bInteger && (Compare(bound, wholeHigh) >= 0 || Compare(bound, wholeLow) <= 0))
            return BadValue(w, option, text,
                            w("is out of range for the page's whole numbers, which --seed repeats "
                              "(-2147483648 to 2147483647)",
                              u8"超出 --seed 所重现的页面整数的范围（-2147483648 到 2147483647）"));
    }
    return std::nullopt;
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
    if (seeded) {
        if (auto r = CheckSeededBounds(w, a, o, min, max))
            return r;
        return a.unique ? CheckUnique(w, NumbersSpace(o), out, memoryBytes) : std::nullopt;
    }
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

Refusal CheckEventsArgs(const Words& w, const CliOptions& cli, Settings& out)
{
    const EventsArgs& a = cli.events;
    // The program goes to the system as typed (UTF-8): only its emptiness and length are checked.
    EventsInput in;
    const std::optional<std::string> program =
        !a.command.empty() ? std::optional<std::string>(a.command.front()) : a.program;
    in.runProgram = program.has_value();
    if (program) {
        in.program.gbk = CString(*program);
        in.programUnits = Utf16Length(*program);
    }
    if (auto r = ReadWhole(w, "--min-delay", a.minDelay, in.minDelay))
        return r;
    if (auto r = ReadWhole(w, "--max-delay", a.maxDelay, in.maxDelay))
        return r;
    if (auto r = ReadWhole(w, "--count", a.count, in.count))
        return r;
    EventsSettings s;
    if (auto r = Page(w, CheckEvents(in, s)))
        return r;
    out.minDelay = s.minDelay;
    out.maxDelay = s.maxDelay;
    out.count = s.count;
    out.command = a.command;
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckSettings(const CliOptions& cli, Settings& out,
                                         std::uint64_t memoryBytes)
{
    const Words w(cli.language);
    if (cli.seed) {
        std::uint32_t seed = 0;
        if (auto r = ReadWhole(w, "--seed", *cli.seed, seed))
            return r;
        out.seed = seed;
    }
    switch (cli.command) {
    case Command::Strings:
        return CheckStringsArgs(w, cli, out, memoryBytes);
    case Command::Numbers:
        return CheckNumbersArgs(w, cli, out, memoryBytes);
    case Command::Events:
        return CheckEventsArgs(w, cli, out);
    }
    return std::nullopt;
}
