#include "Settings.h"

#include "Distinct.h"
#include "System.h"
#include "core/FieldText.h"

namespace {

// A text for a GBK setting; unspellable when GBK cannot spell it (or it is not UTF-8).
SettingText ReadGbk(const std::string& utf8)
{
    SettingText text;
    std::string bytes;
    text.unspellable = !cli_system::GbkFromUtf8(utf8, bytes);
    text.gbk = CString(std::move(bytes));
    return text;
}

std::string TooFewDistinct(std::uint64_t most, int count)
{
    return "这些设定最多只能生成 " + std::to_string(most) + " 个不重复的结果，少于生成个数 " +
           std::to_string(count) + "！";
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

std::optional<std::string> CheckStringsArgs(const CliOptions& cli, Settings& out)
{
    const StringsArgs& a = cli.strings;
    // None given is the page as it opens.
    const bool none = !a.upper && !a.lower && !a.digits && !a.hanzi;
    const StringsInput in{.upper = a.upper || (none && STRINGS_DEFAULT_UPPER),
                          .lower = a.lower || (none && STRINGS_DEFAULT_LOWER),
                          .digit = a.digits || (none && STRINGS_DEFAULT_DIGIT),
                          .hanzi = a.hanzi || (none && STRINGS_DEFAULT_HANZI),
                          .head = ReadGbk(a.head),
                          .tail = ReadGbk(a.tail),
                          .insert = ReadGbk(a.insert),
                          .lenMin = IntFromText(a.minLength),
                          .lenMax = IntFromText(a.maxLength),
                          .count = IntFromText(a.count)};
    StringsSettings s;
    // A secure draw reaches the upper bound however far it is: the longest string must fit.
    if (const char* refusal = CheckStrings(in, s, cli.secure))
        return refusal;
    out.strings = s.options;
    out.count = s.count;
    if (a.unique) {
        const std::uint64_t most = DistinctStrings(s.options, cli.secure);
        if (most < static_cast<std::uint64_t>(out.count))
            return TooFewDistinct(most, out.count);
    }
    return std::nullopt;
}

std::optional<std::string> CheckNumbersArgs(const CliOptions& cli, Settings& out)
{
    const NumbersArgs& a = cli.numbers;
    const bool none = !a.integer && !a.decimal;
    const NumbersInput in{.integer = a.integer || (none && NUMBERS_DEFAULT_INTEGER),
                          .decimal = a.decimal || (none && NUMBERS_DEFAULT_FLOAT),
                          .min = FloatFromText(a.min),
                          .max = FloatFromText(a.max),
                          .count = IntFromText(a.count),
                          .decimals = IntFromText(a.decimals)};
    NumberOptions& o = out.numbers;
    if (const char* refusal = CheckNumbers(in, o))
        return refusal;
    out.count = o.m_nCount;
    if (a.unique) {
        const std::uint64_t most = DistinctNumbers(o, cli.secure);
        if (most < static_cast<std::uint64_t>(out.count))
            return TooFewDistinct(most, out.count);
    }
    return std::nullopt;
}

std::optional<std::string> CheckEventsArgs(const CliOptions& cli, Settings& out)
{
    const EventsArgs& a = cli.events;
    // The program goes to the system as typed (UTF-8): only its emptiness and length are checked.
    EventsInput in;
    in.runProgram = a.program.has_value();
    if (a.program) {
        in.program.gbk = CString(*a.program);
        in.programUnits = Utf16Length(*a.program);
    }
    in.minDelay = IntFromText(a.minDelay);
    in.maxDelay = IntFromText(a.maxDelay);
    in.count = IntFromText(a.count);
    EventsSettings s;
    if (const char* refusal = CheckEvents(in, s))
        return refusal;
    out.minDelay = s.minDelay;
    out.maxDelay = s.maxDelay;
    out.count = s.count;
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckSettings(const CliOptions& cli, Settings& out)
{
    switch (cli.command) {
    case Command::Strings:
        return CheckStringsArgs(cli, out);
    case Command::Numbers:
        return CheckNumbersArgs(cli, out);
    case Command::Events:
        return CheckEventsArgs(cli, out);
    }
    return std::nullopt;
}
