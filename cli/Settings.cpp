#include "Settings.h"

#include "Commands.h"
#include "core/FieldText.h"
#include "platform/TextConversion.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace {

// Drops a '+' that a number follows: from_chars takes a '-' only.
std::string_view WithoutPlus(std::string_view text)
{
    if (text.size() > 1 && text[0] == '+' && text[1] != '-')
        text.remove_prefix(1);
    return text;
}

} // namespace

template <class Int>
Refusal ReadWhole(const Words& w, const char* option, const std::string& text, Int& value)
{
    constexpr std::int64_t lo = std::numeric_limits<Int>::min(),
                           hi = std::numeric_limits<Int>::max();
    const std::string_view number = WithoutPlus(text);
    const char* end = number.data() + number.size();
    std::int64_t read = 0;
    const auto [ptr, ec] = std::from_chars(number.data(), end, read);
    if (ptr != end || ec == std::errc::invalid_argument)
        return BadValue(w, option, text, w("is not a whole number", u8"不是整数"));
    if (ec == std::errc::result_out_of_range || read < lo || read > hi) {
        const std::string l = std::to_string(lo), h = std::to_string(hi);
        return BadValue(w, option, text,
                        w.Pick("is out of range (" + l + " to " + h + ")",
                               U8(u8"超出范围（") + l + U8(u8" 到 ") + h + U8(u8"）")));
    }
    value = static_cast<Int>(read);
    return std::nullopt;
}
template Refusal ReadWhole(const Words&, const char*, const std::string&, int&);
template Refusal ReadWhole(const Words&, const char*, const std::string&, std::uint32_t&);

std::string BadValue(const Words& w, const std::string& option, const std::string& text,
                     const std::string& why)
{
    return w.Pick(option + ": \"" + text + "\" " + why,
                  option + U8(u8" 的值“") + text + U8(u8"”") + why + U8(u8"！"));
}

Refusal ReadDecimal(const Words& w, const char* option, const std::string& text, float& value)
{
    const std::string_view number = WithoutPlus(text);
    // from_chars would also take the words inf and nan, which a box reads as 0.
    const std::size_t first = number.starts_with('-') ? 1 : 0;
    double parsed;
    const char* end = number.data() + number.size();
    if (number.size() <= first ||
        (number[first] != '.' && (number[first] < '0' || number[first] > '9')) ||
        std::from_chars(number.data(), end, parsed, std::chars_format::general).ptr != end)
        return BadValue(w, option, text, w("is not a number", u8"不是数字"));
    // The box's own rounding, so that a value typed here is the value the page would hold.
    value = FloatFromText(text);
    if (std::isfinite(value))
        return std::nullopt;
    return BadValue(w, option, text,
                    w("is out of range (a 32-bit float)", u8"超出范围（单精度浮点数）"));
}

SettingText ReadGbk(const std::string& utf8)
{
    SettingText text;
    std::string bytes;
    text.unspellable = !GbkFromUtf8(utf8, bytes);
    text.gbk = CString(std::move(bytes));
    return text;
}

Refusal NotUtf8(const Words& w, const char* option, const std::string& text)
{
    if (IsUtf8(text))
        return std::nullopt;
    return w.Pick(std::string(option) +
                      " is not UTF-8 text, which zanfor-cli reads its arguments as",
                  option + U8(u8" 不是 UTF-8 文本，而 zanfor-cli 按 UTF-8 读取参数！"));
}

Refusal Page(const Words& w, const Wording& refusal)
{
    if (!refusal)
        return std::nullopt;
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
                      U8(u8"这些设定最多只能生成 ") + m + U8(u8" 个不重复的结果，少于生成个数 ") +
                          n + U8(u8"！"));
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
