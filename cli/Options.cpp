#include "Options.h"

#include "Help.h"
#include "res/version.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <sstream>

namespace {

#define ZANFOR_STR2(x) #x
#define ZANFOR_STR(x) ZANFOR_STR2(x)

// Values CLI11 fills; copied into the optional fields when given.
struct Given {
    std::string seed, output, program, encoding, charset, length;
    bool secure = false, lf = false, crlf = false;
};

void AddOutputOptions(CLI::App& sub, CliOptions& o, Given& g, const Words& w)
{
    sub.add_option("--seed", g.seed,
                   w("Repeat the page's draws: seed its 15-bit source with S (0..4294967295) as "
                     "the page's clock seed would; the same S and settings give the same bytes. "
                     "Default: the system's secure source",
                     u8"重现页面的抽取：以 S（0..4294967295）为页面 15 位随机源的种子，如同页面用"
                     u8"时钟播种；相同的 S 和设定得到相同的字节。默认：系统的安全随机源"))
        ->type_name("S");
    sub.add_flag("--secure", g.secure,
                 w("The system's secure random source: the default. Not with --seed",
                   u8"系统的安全随机源：默认即是。不能与 --seed 同用"));
    sub.add_flag("--verbose", o.verbose,
                 w("Say on standard error which source draws (the seed), and for strings their "
                   "entropy in bits",
                   u8"在标准错误上说明所用的随机源（种子），字符串还给出熵（比特）"));
    sub.add_option("-o,--output", g.output,
                   w("Write the records to FILE instead of standard output (-: standard output)",
                     u8"把结果写到 FILE，而不是标准输出（-：标准输出）"))
        ->type_name("FILE");
    sub.add_flag("--lf", g.lf,
                 w("End records in \"\\n\" (the default on Linux)",
                   u8"每条结果以 \"\\n\" 结尾（Linux 上的默认）"));
    sub.add_flag("--crlf", g.crlf,
                 w("End records in \"\\r\\n\", as the results file (the default on Windows)",
                   u8"每条结果以 \"\\r\\n\" 结尾，同结果文件（Windows 上的默认）"));
    sub.add_option("--encoding", g.encoding,
                   w("utf-8 (utf8), gbk (cp936) or gb18030. Default utf-8; on a Windows console "
                     "the text is shown as it is, whatever the code page",
                     u8"utf-8（utf8）、gbk（cp936）或 gb18030。默认 utf-8；在 Windows "
                     u8"控制台上，无论代码页如何，文字都按原样显示"))
        ->type_name("ENC");
}

// The usage error's text: the error, then where to read more.
ParseOutcome UsageError(const Words& w, const std::string& error, const std::string& command)
{
    const std::string help = "zanfor-cli " + (command.empty() ? "" : command + " ") + "--help";
    ParseOutcome outcome;
    outcome.exitCode = 2;
    outcome.err = error + "\n" +
                  w.Pick("Run '" + help + "' for more information.",
                         U8(u8"运行 ") + help + U8(u8" 查看用法。")) +
                  "\n";
    return outcome;
}

std::vector<std::string> OptionNames(const CLI::App& app)
{
    std::vector<std::string> names;
    for (const CLI::Option* opt : app.get_options())
        for (const std::string& name : opt->get_lnames())
            names.push_back("--" + name);
    return names;
}

// "unknown command “string”" with "; did you mean “strings”?" when one is close.
std::string Unknown(const Words& w, bool option, const std::string& text,
                    const std::vector<std::string>& names)
{
    std::string said =
        option ? w("unknown option ", u8"未知的选项") : w("unknown command ", u8"未知的命令");
    said += w.Quoted(text);
    const std::string close = Suggestion(text, names);
    if (!close.empty())
        said += w("; did you mean ", u8"；是不是要用") + w.Quoted(close) + w("?", u8"？");
    return said;
}

} // namespace

std::string VersionText()
{
    return "zanfor-cli " ZANFOR_STR(ZANFOR_VERSION_MAJOR) "." ZANFOR_STR(
        ZANFOR_VERSION_MINOR) "." ZANFOR_STR(ZANFOR_VERSION_PATCH) "." ZANFOR_STR(ZANFOR_VERSION_BUILD);
}

std::string Suggestion(const std::string& text, const std::vector<std::string>& candidates)
{
    // Edit distance, a swap of two neighbours counting as one edit.
    const auto distance = [](const std::string& a, const std::string& b) {
        std::vector<std::vector<std::size_t>> d(a.size() + 1,
                                                std::vector<std::size_t>(b.size() + 1));
        for (std::size_t i = 0; i <= a.size(); ++i)
            d[i][0] = i;
        for (std::size_t j = 0; j <= b.size(); ++j)
            d[0][j] = j;
        for (std::size_t i = 1; i <= a.size(); ++i)
            for (std::size_t j = 1; j <= b.size(); ++j) {
                d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1,
                                    d[i - 1][j - 1] + (a[i - 1] == b[j - 1] ? 0 : 1)});
                if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1])
                    d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        return d[a.size()][b.size()];
    };
    std::string best;
    std::size_t bestDistance = 3; // more edits than this is another word
    for (const std::string& candidate : candidates) {
        const std::size_t edits = distance(text, candidate);
        // A name cut short ("num", "--decim") is close whatever its length.
        const bool prefix = text.size() >= 3 && candidate.starts_with(text);
        if (edits < bestDistance || (prefix && best.empty())) {
            best = candidate;
            bestDistance = std::min(edits, bestDistance);
        }
    }
    return best;
}

ParseOutcome ParseCommandLine(const std::vector<std::string>& allArgs, Language language)
{
    const Words w(language);
    CliOptions o;
    o.language = language;
#ifdef _WIN32
    o.crlf = true;
#endif
    Given given;

    // Everything after the first "--" is a program and its arguments (events only).
    std::vector<std::string> args = allArgs;
    std::optional<std::vector<std::string>> afterDashes;
    if (const auto dashes = std::find(args.begin(), args.end(), "--"); dashes != args.end()) {
        afterDashes.emplace(dashes + 1, args.end());
        args.erase(dashes, args.end());
    }

    CLI::App app(MainDescription(w), "zanfor-cli");
    app.formatter(std::make_shared<HelpFormatter>(w));
    app.set_help_flag("-h,--help", w("Print this help and exit", u8"显示本帮助并退出"));
    app.set_help_all_flag(
        "--help-all", w("Print the help of every command and exit", u8"显示所有命令的帮助并退出"));
    app.set_version_flag("--version", VersionText(),
                         w("Print the version and exit", u8"显示版本并退出"));
    app.require_subcommand(1);

    const std::vector<std::string> commands{"strings", "numbers", "events"};
    // A word where the command belongs that is no command: said before CLI11 says it its way.
    for (const std::string& arg : args) {
        if (arg.starts_with("-"))
            continue;
        if (std::find(commands.begin(), commands.end(), arg) == commands.end())
            return UsageError(w, Unknown(w, false, arg, commands), "");
        break;
    }

    CLI::App* strings = app.add_subcommand("strings", CommandDescription(w, "strings"));
    StringsArgs& s = o.strings;
    strings->add_flag("--upper", s.upper, w("Upper-case letters A-Z", u8"大写字母 A-Z"));
    strings->add_flag("--lower", s.lower, w("Lower-case letters a-z", u8"小写字母 a-z"));
    strings->add_flag("--digits", s.digits, w("Digits 0-9", u8"数字 0-9"));
    strings->add_flag("--hanzi", s.hanzi,
                      w("Chinese characters (GB2312 level 1). None of these four and no "
                        "--charset: --upper --lower",
                        u8"汉字（GB2312 一级字）。这四类和 --charset 都不指定时：--upper --lower"));
    strings->add_flag(
        "--symbols", s.symbols,
        w("Add the ASCII punctuation !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~ (not with --seed)",
          u8"加上 ASCII 标点符号 !\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~（不能与 --seed 同用）"));
    strings
        ->add_option("--charset", given.charset,
                     w("Also draw from the characters of TEXT (not with --seed)",
                       u8"也从 TEXT 中的字符抽取（不能与 --seed 同用）"))
        ->type_name("TEXT");
    strings
        ->add_option("--exclude", s.exclude,
                     w("Never draw the characters of TEXT (not with --seed)",
                       u8"不抽取 TEXT 中的字符（不能与 --seed 同用）"))
        ->type_name("TEXT");
    strings->add_flag("--no-ambiguous", s.noAmbiguous,
                      w("Leave out the look-alikes 0 O o 1 l I | (not with --seed)",
                        u8"去掉易混淆的字符 0 O o 1 l I |（不能与 --seed 同用）"));
    strings->add_flag(
        "--require-each", s.requireEach,
        w("Every string holds each chosen class at least once: a string that does "
          "not is drawn again whole (not with --seed)",
          u8"每个字符串至少含所选的每类字符各一个：不满足的整串重新抽取（不能与 --seed "
          u8"同用）"));
    strings
        ->add_option("--head", s.head,
                     w("Text put before the random body", u8"放在随机部分前面的文字"))
        ->type_name("TEXT");
    strings
        ->add_option("--tail", s.tail,
                     w("Text put after the random body", u8"放在随机部分后面的文字"))
        ->type_name("TEXT");
    strings
        ->add_option("--insert", s.insert,
                     w("\"pos|text|pos|text...\": texts inserted at byte positions (GBK bytes), "
                       "positions from the largest to the smallest",
                       u8"“位置|文字|位置|文字...”：在字节位置（GBK 字节）插入文字，位置从大到小"))
        ->type_name("SPEC");
    strings
        ->add_option("--length", given.length,
                     w("A body of exactly N characters: both bounds below",
                       u8"随机部分恰为 N 个字符：同时设定下面两个界限"))
        ->type_name("N");
    strings
        ->add_option("--min-length", s.minLength,
                     w("Shortest body, in characters", u8"随机部分最少的字符数"))
        ->type_name("N")
        ->capture_default_str();
    strings
        ->add_option("--max-length", s.maxLength,
                     w("Longest body, in characters", u8"随机部分最多的字符数"))
        ->type_name("N")
        ->capture_default_str();
    strings->add_option("-n,--count", s.count, w("Number of strings", u8"生成个数"))
        ->type_name("N")
        ->capture_default_str();
    strings->add_flag("--unique", s.unique,
                      w("No string repeats; refused when the settings cannot make that many",
                        u8"结果不重复；设定做不到那么多时拒绝"));
    AddOutputOptions(*strings, o, given, w);

    CLI::App* numbers = app.add_subcommand("numbers", CommandDescription(w, "numbers"));
    NumbersArgs& n = o.numbers;
    numbers->add_flag("--int", n.integer, w("Whole numbers", u8"整数"));
    numbers->add_flag(
        "--float", n.decimal,
        w("Decimal numbers. Neither: both kinds", u8"小数。两者都不指定时：两种都有"));
    numbers
        ->add_option("--decimals", n.decimals,
                     w("Digits after the point (--float)", u8"小数位数（--float）"))
        ->type_name("N")
        ->capture_default_str();
    numbers->add_option("--min", n.min, w("Lower bound of the range", u8"范围下限"))
        ->type_name("X")
        ->capture_default_str();
    numbers->add_option("--max", n.max, w("Upper bound of the range", u8"范围上限"))
        ->type_name("X")
        ->capture_default_str();
    numbers->add_option("-n,--count", n.count, w("Number of numbers", u8"生成个数"))
        ->type_name("N")
        ->capture_default_str();
    numbers->add_flag("--unique", n.unique,
                      w("No number (as written) repeats; refused when the range cannot hold that "
                        "many",
                        u8"数字（按写出的文字）不重复；范围容不下那么多时拒绝"));
    AddOutputOptions(*numbers, o, given, w);

    CLI::App* events = app.add_subcommand("events", CommandDescription(w, "events"));
    EventsArgs& e = o.events;
    events
        ->add_option("--min-delay", e.minDelay,
                     w("Shortest delay before an event, ms", u8"事件前最短的等待，毫秒"))
        ->type_name("MS")
        ->capture_default_str();
    events
        ->add_option("--max-delay", e.maxDelay,
                     w("Longest delay before an event, ms", u8"事件前最长的等待，毫秒"))
        ->type_name("MS")
        ->capture_default_str();
    events->add_option("-n,--count", e.count, w("Number of events", u8"事件个数"))
        ->type_name("N")
        ->capture_default_str();
    events
        ->add_option("--run", given.program,
                     w("Start PROGRAM at every event as the page does: the whole text is the "
                       "program's name",
                       u8"每个事件时启动 PROGRAM，同页面：整段文字是程序名"))
        ->type_name("PROGRAM");
    events->add_flag("--iso", e.iso,
                     w("ISO 8601 time stamps with milliseconds and the offset from UTC",
                       u8"ISO 8601 时间戳，带毫秒和与 UTC 的偏移"));
    AddOutputOptions(*events, o, given, w);

    ParseOutcome outcome;
    std::ostringstream out, err;
    try {
        // CLI11 takes the arguments last first.
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::Success& help) { // --help, --help-all, --version
        app.exit(help, out, err);
        outcome.out = out.str();
        return outcome;
    } catch (const CLI::ParseError& error) {
        const std::vector<CLI::App*> chosen = app.get_subcommands();
        const CLI::App& where = chosen.empty() ? app : *chosen.front();
        const std::string command = chosen.empty() ? "" : where.get_name();
        const std::string what = error.what();
        if (dynamic_cast<const CLI::RequiredError*>(&error)) {
            // No command: only options, and one of them unknown before any command.
            for (const std::string& arg : args)
                if (arg.starts_with("-"))
                    return UsageError(
                        w, Unknown(w, true, arg.substr(0, arg.find('=')), OptionNames(app)), "");
            return UsageError(w,
                              w("no command given: strings, numbers or events",
                                u8"没有给出命令：strings、numbers 或 events"),
                              "");
        }
        if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
            const std::vector<std::string> extra = where.remaining();
            const std::string first = extra.empty() ? what : extra.front();
            if (first.starts_with("-"))
                return UsageError(
                    w, Unknown(w, true, first.substr(0, first.find('=')), OptionNames(where)),
                    command);
            return UsageError(w, w("unexpected argument ", u8"多余的参数") + w.Quoted(first),
                              command);
        }
        // "--head: 1 required TEXT missing", "Could not convert: --upper = x": the option first.
        const std::size_t dash = what.find("--");
        const std::string option = dash == std::string::npos
                                       ? what
                                       : what.substr(dash, what.find_first_of(": ", dash) - dash);
        if (dynamic_cast<const CLI::ArgumentMismatch*>(&error)) {
            // Given twice ("-o a -o b") is not the same mistake as given without its value.
            const CLI::Option* given = where.get_option_no_throw(option);
            if (given && given->count() > 1)
                return UsageError(w,
                                  option + w(" is given more than once: it takes one value",
                                             u8" 给出了不止一次：它只取一个值"),
                                  command);
            return UsageError(w, option + w(" needs a value", u8" 需要一个值"), command);
        }
        if (dynamic_cast<const CLI::ConversionError*>(&error))
            return UsageError(w, option + w(" takes no value", u8" 不带值"), command);
        return UsageError(w, what, command); // nothing else is known to come
    }

    CLI::App* sub = app.got_subcommand(strings)   ? strings
                    : app.got_subcommand(numbers) ? numbers
                                                  : events;
    const std::string command = sub->get_name();
    o.command = sub == strings   ? Command::Strings
                : sub == numbers ? Command::Numbers
                                 : Command::Events;
    const auto conflict = [&](const std::string& a, const std::string& b, const std::string& why) {
        return UsageError(
            w, a + w(" cannot be combined with ", u8" 不能与 ") + b + w(": ", u8" 同用：") + why,
            command);
    };
    if (sub->count("--seed")) {
        o.seed = given.seed;
        if (given.secure)
            return conflict("--secure", "--seed",
                            w("a seeded run is predictable", u8"有种子的运行是可以预测的"));
        // A seeded run repeats the page's draws: what the page has no box for has no such draws.
        for (const char* own :
             {"--symbols", "--charset", "--exclude", "--no-ambiguous", "--require-each"})
            if (sub == strings && sub->count(own))
                return conflict(own, "--seed",
                                w("--seed repeats the strings page's draws, and the page has "
                                  "no such option",
                                  u8"--seed 重现字符串页的抽取，而页面没有这个选项"));
    }
    if (given.lf && given.crlf)
        return conflict("--lf", "--crlf", w("a record has one end", u8"一条结果只有一种结尾"));
    if (given.lf || given.crlf)
        o.crlf = given.crlf;
    if (sub == strings && sub->count("--length")) {
        for (const char* bound : {"--min-length", "--max-length"})
            if (sub->count(bound))
                return conflict("--length", bound,
                                w("--length sets both bounds", u8"--length 同时设定两个界限"));
        s.length = given.length;
    }
    if (sub == strings && sub->count("--charset"))
        s.charset = given.charset;
    if (sub->count("--output") && given.output != "-")
        o.output = given.output;
    if (sub->count("--encoding")) {
        const std::string name = CLI::detail::to_lower(given.encoding);
        if (name == "utf-8" || name == "utf8")
            o.encoding = Encoding::Utf8;
        else if (name == "gbk" || name == "cp936")
            o.encoding = Encoding::Gbk;
        else if (name == "gb18030")
            o.encoding = Encoding::Gb18030;
        else
            return UsageError(w,
                              w("unknown encoding ", u8"未知的编码") + w.Quoted(given.encoding) +
                                  w(": utf-8, gbk or gb18030", u8"：utf-8、gbk 或 gb18030"),
                              command);
    }
    if (afterDashes) {
        if (sub != events)
            return UsageError(w,
                              w("\"--\" introduces a program to run: events only",
                                u8"“--”引出要启动的程序：只用于 events"),
                              command);
        if (sub->count("--run"))
            return conflict("--run", "--",
                            w("one program runs at every event", u8"每个事件只启动一个程序"));
        if (afterDashes->empty())
            return UsageError(w, w("no program after \"--\"", u8"“--”后面没有程序"), command);
        e.command = *afterDashes;
    }
    if (sub == events && sub->count("--run"))
        e.program = given.program;
    outcome.options = o;
    return outcome;
}
