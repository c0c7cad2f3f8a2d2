#include "Settings.h"

#include "ArgumentNumbers.h"
#include "Distinct.h"
#include "System.h"

#include <limits>

namespace {

// A refusal's text: the narrow literals of the program are GBK, what the user typed is UTF-8.
std::string Utf8(std::string_view gbk)
{
    std::string utf8;
    cli_system::AppendUtf8FromGbk(gbk, utf8);
    return utf8;
}

using Refusal = std::optional<std::string>;

// "--count 的值“1e20”不是整数！": the option, the text as typed and what is wrong with it (GBK).
Refusal BadValue(const char* option, const std::string& text, const std::string& why)
{
    return option + Utf8(" 的值“") + text + Utf8("”" + why + "！");
}

// A whole-number setting; a refusal when the argument is not wholly such a number.
template <class Int> Refusal ReadWhole(const char* option, const std::string& text, Int& value)
{
    constexpr std::int64_t lo = std::numeric_limits<Int>::min(),
                           hi = std::numeric_limits<Int>::max();
    std::int64_t read = 0;
    switch (ReadWholeArgument(text, lo, hi, read)) {
    case ArgumentNumber::Ok:
        value = static_cast<Int>(read);
        return std::nullopt;
    case ArgumentNumber::NotANumber:
        return BadValue(option, text, "不是整数");
    case ArgumentNumber::OutOfRange:
        break;
    }
    std::string range = "超出范围（";
    range += std::to_string(lo);
    range += " 到 ";
    range += std::to_string(hi);
    range += "）";
    return BadValue(option, text, range);
}

Refusal ReadDecimal(const char* option, const std::string& text, float& value)
{
    switch (ReadDecimalArgument(text, value)) {
    case ArgumentNumber::Ok:
        return std::nullopt;
    case ArgumentNumber::NotANumber:
        return BadValue(option, text, "不是数字");
    case ArgumentNumber::OutOfRange:
        break;
    }
    return BadValue(option, text, "超出范围（单精度浮点数）");
}

// A text for a GBK setting; unspellable when GBK cannot spell it (or it is not UTF-8).
SettingText ReadGbk(const std::string& utf8)
{
    SettingText text;
    std::string bytes;
    text.unspellable = !cli_system::GbkFromUtf8(utf8, bytes);
    text.gbk = CString(std::move(bytes));
    return text;
}

Refusal Page(const char* gbkRefusal)
{
    if (!gbkRefusal)
        return std::nullopt;
    return Utf8(gbkRefusal);
}

// --unique beyond what the settings can make, or beyond the memory that can remember its records.
Refusal CheckUnique(std::uint64_t most, int count, const UniqueMemory& memory,
                    std::uint64_t memoryBytes)
{
    if (most < static_cast<std::uint64_t>(count))
        return Utf8("这些设定最多只能生成 " + std::to_string(most) +
                    " 个不重复的结果，少于生成个数 " + std::to_string(count) + "！");
    if (memory.bytes > memoryBytes) {
        constexpr std::uint64_t MiB = 1 << 20;
        return Utf8("--unique 要记住 " + std::to_string(count) + " 个结果，约需 " +
                    std::to_string(memory.bytes / MiB) + " MiB 内存，超过本机的 " +
                    std::to_string(memoryBytes / MiB) + " MiB！");
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

Refusal CheckStringsArgs(const CliOptions& cli, Settings& out, std::uint64_t memoryBytes)
{
    const StringsArgs& a = cli.strings;
    // None given is the page as it opens.
    const bool none = !a.upper && !a.lower && !a.digits && !a.hanzi;
    StringsInput in{.upper = a.upper || (none && STRINGS_DEFAULT_UPPER),
                    .lower = a.lower || (none && STRINGS_DEFAULT_LOWER),
                    .digit = a.digits || (none && STRINGS_DEFAULT_DIGIT),
                    .hanzi = a.hanzi || (none && STRINGS_DEFAULT_HANZI),
                    .head = ReadGbk(a.head),
                    .tail = ReadGbk(a.tail),
                    .insert = ReadGbk(a.insert)};
    if (auto r = ReadWhole("--min-length", a.minLength, in.lenMin))
        return r;
    if (auto r = ReadWhole("--max-length", a.maxLength, in.lenMax))
        return r;
    if (auto r = ReadWhole("--count", a.count, in.count))
        return r;
    StringsSettings s;
    // A secure draw reaches the upper bound however far it is: the longest string must fit.
    if (auto r = Page(CheckStrings(in, s, cli.secure)))
        return r;
    out.strings = s.options;
    out.count = s.count;
    if (a.unique)
        return CheckUnique(DistinctStrings(s.options, cli.secure), out.count,
                           UniqueStringsMemory(s.options, out.count, cli.secure), memoryBytes);
    return std::nullopt;
}

Refusal CheckNumbersArgs(const CliOptions& cli, Settings& out, std::uint64_t memoryBytes)
{
    const NumbersArgs& a = cli.numbers;
    const bool none = !a.integer && !a.decimal;
    NumbersInput in{.integer = a.integer || (none && NUMBERS_DEFAULT_INTEGER),
                    .decimal = a.decimal || (none && NUMBERS_DEFAULT_FLOAT)};
    if (auto r = ReadDecimal("--min", a.min, in.min))
        return r;
    if (auto r = ReadDecimal("--max", a.max, in.max))
        return r;
    if (auto r = ReadWhole("--count", a.count, in.count))
        return r;
    // The decimals are read only when decimal items are asked for, as on the page.
    if (in.decimal)
        if (auto r = ReadWhole("--decimals", a.decimals, in.decimals))
            return r;
    NumberOptions& o = out.numbers;
    if (auto r = Page(CheckNumbers(in, o)))
        return r;
    out.count = o.m_nCount;
    if (a.unique) {
        const UniqueMemory memory = UniqueNumbersMemory(o, out.count, cli.secure);
        out.uniqueWhole = memory.bitmap;
        return CheckUnique(DistinctNumbers(o, cli.secure), out.count, memory, memoryBytes);
    }
    return std::nullopt;
}

Refusal CheckEventsArgs(const CliOptions& cli, Settings& out)
{
    const EventsArgs& a = cli.events;
    // The program goes to the system as typed (UTF-8): only its emptiness and length are checked.
    EventsInput in;
    in.runProgram = a.program.has_value();
    if (a.program) {
        in.program.gbk = CString(*a.program);
        in.programUnits = Utf16Length(*a.program);
    }
    if (auto r = ReadWhole("--min-delay", a.minDelay, in.minDelay))
        return r;
    if (auto r = ReadWhole("--max-delay", a.maxDelay, in.maxDelay))
        return r;
    if (auto r = ReadWhole("--count", a.count, in.count))
        return r;
    EventsSettings s;
    if (auto r = Page(CheckEvents(in, s)))
        return r;
    out.minDelay = s.minDelay;
    out.maxDelay = s.maxDelay;
    out.count = s.count;
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckSettings(const CliOptions& cli, Settings& out,
                                         std::uint64_t memoryBytes)
{
    if (cli.seed) {
        std::uint32_t seed = 0;
        if (auto r = ReadWhole("--seed", *cli.seed, seed))
            return r;
        out.seed = seed;
    }
    switch (cli.command) {
    case Command::Strings:
        return CheckStringsArgs(cli, out, memoryBytes);
    case Command::Numbers:
        return CheckNumbersArgs(cli, out, memoryBytes);
    case Command::Events:
        return CheckEventsArgs(cli, out);
    }
    return std::nullopt;
}
