#include "Settings.h"

#include "Distinct.h"
#include "System.h"
#include "core/FieldText.h"
#include "core/SettingMessages.h"

#include <algorithm>

namespace {

// A text for a GBK setting; false when GBK cannot spell it.
bool ReadGbk(const std::string& utf8, CString& gbk)
{
    std::string bytes;
    if (!cli_system::GbkFromUtf8(utf8, bytes))
        return false;
    gbk = CString(std::move(bytes));
    return true;
}

std::string NotGbk(const char* option)
{
    return std::string(option) + " 含有 GBK 无法表示的字符！";
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

std::optional<std::string> CheckStrings(const CliOptions& cli, Settings& out)
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
    o.m_nLenMin = IntFromText(a.minLength);
    o.m_nLenMax = IntFromText(a.maxLength);
    out.count = IntFromText(a.count);
    if (o.m_nLenMin > o.m_nLenMax)
        return std::string(MSG_BAD_LENGTH);
    if (out.count < 1)
        return std::string(MSG_BAD_COUNT);
    // A secure draw reaches the upper bound however far it is: the longest string must fit.
    if (LongestString(o, cli.secure) > MAX_ITEM_BYTES)
        return std::string(MSG_STRINGS_TOO_LARGE);
    if (a.unique) {
        const std::uint64_t most = DistinctStrings(o, cli.secure);
        if (most < static_cast<std::uint64_t>(out.count))
            return TooFewDistinct(most, out.count);
    }
    return std::nullopt;
}

std::optional<std::string> CheckNumbers(const CliOptions& cli, Settings& out)
{
    const NumbersArgs& a = cli.numbers;
    NumberOptions& o = out.numbers;
    const bool none = !a.integer && !a.decimal;
    o.m_bInteger = a.integer || none;
    o.m_bFloat = a.decimal || none;
    o.m_fMin = FloatFromText(a.min);
    o.m_fMax = FloatFromText(a.max);
    out.count = o.m_nCount = IntFromText(a.count);
    if (o.m_bFloat) {
        o.m_nDecimals = IntFromText(a.decimals);
        if (o.m_nDecimals < 0)
            return std::string(MSG_BAD_DECIMALS);
    }
    if (o.m_fMin > o.m_fMax)
        return std::string(MSG_BAD_RANGE);
    if (out.count < 1)
        return std::string(MSG_BAD_COUNT);
    if (o.m_bFloat && o.m_nDecimals > MAX_ITEM_BYTES - 16)
        return std::string(MSG_NUMBERS_TOO_LARGE);
    if (a.unique) {
        const std::uint64_t most = DistinctNumbers(o, cli.secure);
        if (most < static_cast<std::uint64_t>(out.count))
            return TooFewDistinct(most, out.count);
    }
    return std::nullopt;
}

std::optional<std::string> CheckEvents(const CliOptions& cli, Settings& out)
{
    const EventsArgs& a = cli.events;
    if (a.program) {
        if (a.program->empty())
            return std::string(MSG_BAD_PROGRAM);
        if (Utf16Length(*a.program) > MAX_PROGRAM_CHARS)
            return std::string(MSG_PROGRAM_TOO_LONG);
    }
    out.minDelay = IntFromText(a.minDelay);
    out.maxDelay = IntFromText(a.maxDelay);
    out.count = IntFromText(a.count);
    if (out.minDelay > out.maxDelay)
        return std::string(MSG_BAD_INTERVAL);
    if (out.count < 1)
        return std::string(MSG_BAD_COUNT);
    return std::nullopt;
}

} // namespace

std::optional<std::string> CheckSettings(const CliOptions& cli, Settings& out)
{
    switch (cli.command) {
    case Command::Strings:
        return CheckStrings(cli, out);
    case Command::Numbers:
        return CheckNumbers(cli, out);
    case Command::Events:
        return CheckEvents(cli, out);
    }
    return std::nullopt;
}
