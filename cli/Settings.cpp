#include "Settings.h"

#include "Commands.h"
#include "core/ExtendedGbk.h"
#include "core/FieldText.h"
#include "core/StrictNumbers.h"
#include "platform/TextConversion.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstring>
#include <limits>

template <class Int>
Refusal ReadWhole(const Words& w, const char* option, const std::string& text, Int& value)
{
    constexpr std::int64_t lo = std::numeric_limits<Int>::min(),
                           hi = std::numeric_limits<Int>::max();
    std::int64_t read = 0;
    const StrictNumber number = ReadStrictWhole(text, lo, hi, read);
    if (number == StrictNumber::NotANumber)
        return BadValue(w, option, text, w("not a whole number", u8"不是整数"));
    if (number == StrictNumber::OutOfRange) {
        const std::string l = std::to_string(lo), h = std::to_string(hi);
        return BadValue(w, option, text,
                        w.Pick("out of range (" + l + " to " + h + ")",
                               U8(u8"超出范围（") + l + U8(u8" 到 ") + h + U8(u8"）")));
    }
    value = static_cast<Int>(read);
    return std::nullopt;
}
template Refusal ReadWhole(const Words&, const char*, const std::string&, int&);
template Refusal ReadWhole(const Words&, const char*, const std::string&, std::uint32_t&);
template Refusal ReadWhole(const Words&, const char*, const std::string&, std::int64_t&);

Refusal ReadCount(const Words& w, const std::string& text, Settings& out, int& pageCount)
{
    if (auto r = ReadWhole(w, "-n", text, out.count))
        return r;
    pageCount = static_cast<int>(std::clamp<std::int64_t>(out.count, INT_MIN, INT_MAX));
    return std::nullopt;
}

Refusal CheckPageCount(const Words& w, const std::string& text, const Settings& out)
{
    if (!out.pageDraws || out.count <= INT_MAX)
        return std::nullopt;
    return BadValue(w, "-n", text,
                    w("--seed repeats the page's draws, which make at most 2147483647 items a run",
                      u8"--seed 重现页面的抽取，页面一次最多生成 2147483647 个"));
}

std::string Refused(const Words& w, const std::string& words, const std::string& given,
                    const std::string& why)
{
    return words + w.Pick(" (" + given + ": " + why + ")",
                          U8(u8"（") + given + U8(u8"：") + why + U8(u8"）"));
}

std::string SettingWords(const Words& w, const std::string& option)
{
    if (option == "-n")
        return w(MSG_BAD_COUNT);
    if (option.ends_with("length"))
        return w(MSG_BAD_LENGTH);
    if (option == "--min" || option == "--max")
        return w(MSG_BAD_RANGE);
    if (option == "--decimals")
        return w(MSG_BAD_DECIMALS);
    if (option.ends_with("delay"))
        return w(MSG_BAD_INTERVAL);
    return w.Pick("invalid " + option, option + U8(u8" 设定无效！"));
}

std::string BadValue(const Words& w, const std::string& option, const std::string& text,
                     const std::string& why)
{
    return Refused(w, SettingWords(w, option), option + " " + (text.empty() ? w.Quoted("") : text),
                   why);
}

std::string BeyondGbk(const Words& w, const std::string& utf8)
{
    const std::string c = FirstBeyondGbk(utf8, &GbkFromUtf8);
    return w.Pick("GBK cannot spell " + w.Quoted(c) + " (" + CodePointName(c) + ")",
                  U8(u8"GBK 无法表示") + w.Quoted(c) + U8(u8"（") + CodePointName(c) + U8(u8"）"));
}

Refusal ReadDecimal(const Words& w, const char* option, const std::string& text, float& value)
{
    if (!IsStrictDecimal(text))
        return BadValue(w, option, text, w("not a number", u8"不是数字"));
    // The box's own rounding, so that a value typed here is the value the page would hold.
    value = FloatFromText(text);
    if (std::isfinite(value))
        return std::nullopt;
    return BadValue(w, option, text,
                    w("out of range (a 32-bit float)", u8"超出范围（单精度浮点数）"));
}

SettingText ReadGbk(const std::string& utf8, bool beyondGbk)
{
    SettingText text;
    std::string bytes;
    text.unspellable = !GbkFromUtf8(utf8, bytes);
    if (text.unspellable && beyondGbk) // character by character only when needed
        text.unspellable = !ExtendedGbkFromUtf8(utf8, &GbkFromUtf8, bytes);
    text.gbk = CString(std::move(bytes));
    return text;
}

std::string ReachWarning(const Words& w, const std::string& given, const ClassicReach& cut)
{
    if (!cut)
        return {};
    const auto& [lo, top] = *cut;
    return w.Pick("warning: --seed repeats the page's 15-bit draws, which reach only " + lo +
                      " to " + top + " of " + given,
                  U8(u8"警告：--seed 重现页面的 15 位抽取，只能取到 ") + lo + U8(u8" 到 ") + top +
                      U8(u8"（") + given + U8(u8"）"));
}

Refusal NotUtf8(const Words& w, const char* option, const std::string& text)
{
    if (IsUtf8(text))
        return std::nullopt;
    return Refused(w, SettingWords(w, option), option,
                   w("not UTF-8 text, which zanfor-cli reads its arguments as",
                     u8"不是 UTF-8 文本，而 zanfor-cli 按 UTF-8 读取参数"));
}

Refusal Page(const Words& w, const Wording& refusal, std::initializer_list<PageDetail> details)
{
    if (!refusal)
        return std::nullopt;
    for (const PageDetail& d : details)
        if (std::strcmp(d.message.chinese, refusal.chinese) == 0)
            return Refused(w, w(refusal), d.given, d.why);
    return w(refusal);
}

Refusal CheckUnique(const Words& w, const UniqueSpace& space, Settings& out,
                    std::uint64_t memoryBytes)
{
    const UniquePlan& plan = out.unique = PlanUnique(space, out.count);
    const std::string n = std::to_string(out.count);
    if (space.distinct < static_cast<std::uint64_t>(out.count)) {
        const std::string m = std::to_string(space.distinct);
        return w.Pick("--unique: these settings make at most " + m +
                          " different records, fewer than the count " + n,
                      U8(u8"--unique：这些设定最多只能生成 ") + m +
                          U8(u8" 个不重复的结果，少于生成个数 ") + n + U8(u8"！"));
    }
    if (plan.bytes <= memoryBytes)
        return std::nullopt;
    constexpr std::uint64_t MiB = 1 << 20;
    const std::string need = std::to_string(plan.bytes / MiB),
                      have = std::to_string(memoryBytes / MiB);
    return w.Pick("--unique must remember " + n + " records, about " + need +
                      " MiB, more than this machine's " + have + " MiB",
                  U8(u8"--unique 要记住 ") + n + U8(u8" 个结果，约需 ") + need +
                      U8(u8" MiB 内存，超过本机的 ") + have + U8(u8" MiB！"));
}

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
