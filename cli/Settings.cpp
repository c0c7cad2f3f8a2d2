#include "Settings.h"

#include "ArgumentNumbers.h"
#include "Distinct.h"
#include "System.h"
#include "core/SettingMessages.h"

#include <algorithm>
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

// A text for a GBK setting; false when GBK cannot spell it.
bool ReadGbk(const std::string& utf8, CString& gbk)
{
    std::string bytes;
    if (!cli_system::GbkFromUtf8(utf8, bytes))
        return false;
    gbk = CString(std::move(bytes));
    return true;
}

Refusal NotGbk(const char* option)
{
    return option + Utf8(" 含有 GBK 无法表示的字符！");
}

Refusal Page(const char* gbkMessage)
{
    return Utf8(gbkMessage);
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

Refusal CheckStrings(const CliOptions& cli, Settings& out, std::uint64_t memoryBytes)
{
    const StringsArgs& a = cli.strings;
    StringOptions& o = out.strings;
    const bool none = !a.upper && !a.lower && !a.digits && !a.hanzi;
    // None given is the page as it opens: upper and lower checked.
    o.m_bUpper = a.upper || none;
    o.m_bLower = a.lower || none;
    o.m_bDigit = a.digits;
    o.m_bHanzi = a.hanzi;
    if (!ReadGbk(a.head, o.m_strHead))
        return NotGbk("--head");
    if (!ReadGbk(a.tail, o.m_strTail))
        return NotGbk("--tail");
    if (!ReadGbk(a.insert, o.m_strInsert))
        return NotGbk("--insert");
    o.m_strInsert.Trim();
    if (auto r = ReadWhole("--min-length", a.minLength, o.m_nLenMin))
        return r;
    if (auto r = ReadWhole("--max-length", a.maxLength, o.m_nLenMax))
        return r;
    if (auto r = ReadWhole("--count", a.count, out.count))
        return r;
    if (o.m_nLenMin > o.m_nLenMax)
        return Page(MSG_BAD_LENGTH);
    if (out.count < 1)
        return Page(MSG_BAD_COUNT);
    // A secure draw reaches the upper bound however far it is: the longest string must fit.
    if (LongestString(o, cli.secure) > MAX_ITEM_BYTES)
        return Page(MSG_STRINGS_TOO_LARGE);
    if (a.unique)
        return CheckUnique(DistinctStrings(o, cli.secure), out.count,
                           UniqueStringsMemory(o, out.count, cli.secure), memoryBytes);
    return std::nullopt;
}

Refusal CheckNumbers(const CliOptions& cli, Settings& out, std::uint64_t memoryBytes)
{
    const NumbersArgs& a = cli.numbers;
    NumberOptions& o = out.numbers;
    const bool none = !a.integer && !a.decimal;
    o.m_bInteger = a.integer || none;
    o.m_bFloat = a.decimal || none;
    if (auto r = ReadDecimal("--min", a.min, o.m_fMin))
        return r;
    if (auto r = ReadDecimal("--max", a.max, o.m_fMax))
        return r;
    if (auto r = ReadWhole("--count", a.count, out.count))
        return r;
    o.m_nCount = out.count;
    if (o.m_bFloat) {
        if (auto r = ReadWhole("--decimals", a.decimals, o.m_nDecimals))
            return r;
        if (o.m_nDecimals < 0)
            return Page(MSG_BAD_DECIMALS);
    }
    if (o.m_fMin > o.m_fMax)
        return Page(MSG_BAD_RANGE);
    if (out.count < 1)
        return Page(MSG_BAD_COUNT);
    if (o.m_bFloat && o.m_nDecimals > MAX_ITEM_BYTES - 16)
        return Page(MSG_NUMBERS_TOO_LARGE);
    if (a.unique) {
        const UniqueMemory memory = UniqueNumbersMemory(o, out.count, cli.secure);
        out.uniqueWhole = memory.bitmap;
        return CheckUnique(DistinctNumbers(o, cli.secure), out.count, memory, memoryBytes);
    }
    return std::nullopt;
}

Refusal CheckEvents(const CliOptions& cli, Settings& out)
{
    const EventsArgs& a = cli.events;
    if (a.program) {
        if (a.program->empty())
            return Page(MSG_BAD_PROGRAM);
        if (Utf16Length(*a.program) > MAX_PROGRAM_CHARS)
            return Page(MSG_PROGRAM_TOO_LONG);
    }
    if (auto r = ReadWhole("--min-delay", a.minDelay, out.minDelay))
        return r;
    if (auto r = ReadWhole("--max-delay", a.maxDelay, out.maxDelay))
        return r;
    if (auto r = ReadWhole("--count", a.count, out.count))
        return r;
    if (out.minDelay > out.maxDelay)
        return Page(MSG_BAD_INTERVAL);
    if (out.count < 1)
        return Page(MSG_BAD_COUNT);
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
        return CheckStrings(cli, out, memoryBytes);
    case Command::Numbers:
        return CheckNumbers(cli, out, memoryBytes);
    case Command::Events:
        return CheckEvents(cli, out);
    }
    return std::nullopt;
}
