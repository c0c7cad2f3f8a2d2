#include "Options.h"

#include "Commands.h"
#include "core/ClosestName.h"

#include <algorithm>
#include <sstream>

namespace {

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

// "unknown command “string”" with "; did you mean “strings”?" when one is close. An option's
// value given with '=' is not part of its name.
std::string Unknown(const Words& w, const std::string& given, const CLI::App* options)
{
    const std::string text = options ? given.substr(0, given.find('=')) : given;
    std::vector<std::string> names{"strings", "numbers", "events"};
    if (options) {
        names.clear();
        for (const CLI::Option* opt : options->get_options())
            for (const std::string& name : opt->get_lnames())
                names.push_back("--" + name);
    }
    std::string said =
        options ? w("unknown option ", u8"未知的选项") : w("unknown command ", u8"未知的命令");
    said += w.Quoted(text);
    const std::string close = ClosestName(text, names);
    if (!close.empty())
        said += w("; did you mean ", u8"；是不是要用") + w.Quoted(close) + w("?", u8"？");
    return said;
}

// What CLI11 could not parse, said by the option: one given without its value (the arguments ran
// out, so it is the last one), one given twice, or a flag given a value.
std::string Mismatch(const Words& w, const CLI::App& where, const std::vector<std::string>& args,
                     bool conversion)
{
    const std::string lastArg = args.empty() ? "" : args.back();
    const std::size_t equals = lastArg.find('=');
    const CLI::Option* last = where.get_option_no_throw(lastArg.substr(0, equals));
    if (!conversion && last && last->get_expected_max() != 0 &&
        (equals == std::string::npos || equals + 1 == lastArg.size()))
        return last->get_name() + w(" needs a value", u8" 需要一个值");
    for (const CLI::Option* opt : where.get_options()) {
        bool value = false;
        if (!conversion && opt->get_expected_max() != 0 && opt->count() > 1)
            return opt->get_name() + w(" is given more than once: it takes one value",
                                       u8" 给出了不止一次：它只取一个值");
        if (conversion && opt->get_expected_max() == 0 &&
            std::any_of(opt->results().begin(), opt->results().end(),
                        [&](const std::string& r) { return !CLI::detail::lexical_cast(r, value); }))
            return opt->get_name() + w(" takes no value", u8" 不带值");
    }
    return w("invalid arguments", u8"参数无效");
}

// The options every command takes: the source, the output, its records' ends and encoding.
void AddOutputOptions(CLI::App& sub, CliOptions& o, std::string& encoding, const Words& w)
{
    sub.add_option(
           "--seed", o.seed,
           w("A repeatable run from S (0..4294967295), the same bytes on every system: with only "
             "the Zanfor desktop tool's settings, its own 15-bit draws (the batch the tool makes "
             "seeded with S); with any other (--symbols, --charset, --exclude, --no-ambiguous, "
             "--require-each, --unique, bounds beyond the tool's) exact draws from xoshiro256** "
             "seeded by splitmix64. Default: the secure source",
             u8"可重现的运行（S 为 0..4294967295），在任何系统上字节相同：只用 Zanfor 桌面工具的"
             u8"设定时按其 15 位随机源抽取（与以 S 播种的桌面工具同一批）；用了其他设定（--symbols"
             u8"、--charset、--exclude、--no-ambiguous、--require-each、--unique、超出桌面工具的"
             u8"范围）时，用以 splitmix64 播种的 xoshiro256** 精确抽取。默认：安全随机源"))
        ->type_name("S");
    sub.add_flag("--secure")
        ->description(w("The secure random source: the default. Not with --seed",
                        u8"安全随机源：默认即是。不能与 --seed 同用"));
    sub.add_flag("--verbose", o.verbose,
                 w("Say on standard error which source draws (the seed), and for strings their "
                   "entropy in bits: the average and the likeliest string's",
                   u8"在标准错误上说明所用的随机源（种子），字符串还给出熵（比特）：平均值和最可能"
                   u8"的字符串的"));
    sub.add_option("-o,--output", o.output,
                   w("Write the records to FILE instead of standard output (-: standard output)",
                     u8"把结果写到 FILE，而不是标准输出（-：标准输出）"))
        ->type_name("FILE");
    sub.add_flag("--lf")->description(w("End records in \"\\n\" (the default on Linux)",
                                        u8"每条结果以 \"\\n\" 结尾（Linux 上的默认）"));
    sub.add_flag("--crlf")->description(
        w("End records in \"\\r\\n\", as the results file (the default on Windows)",
          u8"每条结果以 \"\\r\\n\" 结尾，同结果文件（Windows 上的默认）"));
    sub.add_option("--encoding", encoding,
                   w("utf-8 (utf8), gbk (cp936) or gb18030. Default utf-8; on a Windows console "
                     "the text is shown as it is, whatever the code page",
                     u8"utf-8（utf8）、gbk（cp936）或 gb18030。默认 utf-8；在 Windows "
                     u8"控制台上，无论代码页如何，文字都按原样显示"))
        ->type_name("ENC");
}

// The whole program, in the help.
std::string MainDescription(const Words& w)
{
    return w("Random test data from the command line: strings, whole and decimal numbers, "
             "timestamped events. Without options: strings of 5 to 8 letters A-Z and a-z, "
             "numbers from 80 to 100 (whole, or with 2 decimals), events 500 to 3000 ms apart, "
             "10 of each. Every draw comes from a cryptographically secure source, uniform over "
             "the whole range; --seed S repeats byte for byte what the Zanfor desktop tool makes "
             "after seeding with S. A number must be the whole argument, within its setting's "
             "range. Records go to standard output or -o FILE, one a line.",
             u8"命令行上的随机测试数据：字符串、整数和小数、带时间戳的事件。不加选项时：字符串为 "
             u8"5 到 8 个字母 A-Z 和 a-z，数值在 80 到 100 之间（整数或两位小数），事件间隔 500 到 "
             u8"3000 毫秒，各生成 10 个。每次抽取都来自密码学安全的随机源，在整个范围内均匀分布；"
             u8"--seed S 则逐字节重现 Zanfor 桌面工具以 S 播种后生成的结果。数字参数必须整个是数"
             u8"字，且在该设定的范围内。结果写到标准输出或 -o FILE，每行一条。");
}

} // namespace

std::string Conflict(const Words& w, const std::string& a, const std::string& b,
                     const std::string& why)
{
    return a + w(" cannot be combined with ", u8" 不能与 ") + b + w(": ", u8" 同用：") + why;
}

ParseOutcome ParseCommandLine(const std::vector<std::string>& allArgs, Language language)
{
    const Words w(language);
    CliOptions o;
    o.language = language;
#ifdef _WIN32
    o.crlf = true;
#endif
    std::string encoding;

    // Everything after the first "--" is a program and its arguments (events only).
    std::vector<std::string> args = allArgs;
    std::optional<std::vector<std::string>> afterDashes;
    if (const auto dashes = std::find(args.begin(), args.end(), "--"); dashes != args.end()) {
        afterDashes.emplace(dashes + 1, args.end());
        args.erase(dashes, args.end());
    }

    // A word where the command belongs that is no command: said before CLI11 says it its way.
    const auto option = [](const std::string& arg) { return arg.starts_with("-"); };
    const auto word = std::find_if_not(args.begin(), args.end(), option);
    if (word != args.end() && *word != "strings" && *word != "numbers" && *word != "events")
        return UsageError(w, Unknown(w, *word, nullptr), "");

    CLI::App app(MainDescription(w), "zanfor-cli");
    app.formatter(std::make_shared<HelpFormatter>(w));
    app.set_help_flag("-h,--help", w("Print this help and exit", u8"显示本帮助并退出"));
    app.set_help_all_flag(
        "--help-all", w("Print the help of every command and exit", u8"显示所有命令的帮助并退出"));
    app.set_version_flag("--version", "zanfor-cli " ZANFOR_CLI_VERSION,
                         w("Print the version and exit", u8"显示版本并退出"));
    app.require_subcommand(1);
    const CommandSetup commands[] = {SetupStrings(app, o, w), SetupNumbers(app, o, w),
                                     SetupEvents(app, o, w, afterDashes)};
    for (const CommandSetup& command : commands)
        AddOutputOptions(*command.app, o, encoding, w);

    ParseOutcome outcome;
    try {
        // CLI11 takes the arguments last first.
        std::vector<std::string> reversed(args.rbegin(), args.rend());
        app.parse(reversed);
    } catch (const CLI::Success& help) { // --help, --help-all, --version
        std::ostringstream out, err;
        app.exit(help, out, err);
        outcome.out = out.str();
        return outcome;
    } catch (const CLI::ParseError& error) {
        const std::vector<CLI::App*> chosen = app.get_subcommands();
        const CLI::App& where = chosen.empty() ? app : *chosen.front();
        const std::string command = chosen.empty() ? "" : where.get_name();
        if (dynamic_cast<const CLI::RequiredError*>(&error)) {
            // No command: only options, and one of them unknown before any command.
            if (const auto first = std::find_if(args.begin(), args.end(), option);
                first != args.end())
                return UsageError(w, Unknown(w, *first, &app), "");
            return UsageError(w,
                              w("no command given: strings, numbers or events",
                                u8"没有给出命令：strings、numbers 或 events"),
                              "");
        }
        if (dynamic_cast<const CLI::ExtrasError*>(&error)) {
            const std::vector<std::string> extra = where.remaining();
            const std::string first = extra.empty() ? error.what() : extra.front();
            if (first.starts_with("-"))
                return UsageError(w, Unknown(w, first, &where), command);
            return UsageError(w, w("unexpected argument ", u8"多余的参数") + w.Quoted(first),
                              command);
        }
        const bool conversion = dynamic_cast<const CLI::ConversionError*>(&error) != nullptr;
        return UsageError(w, Mismatch(w, where, args, conversion), command);
    }

    const CommandSetup& chosen =
        *std::find_if(std::begin(commands), std::end(commands),
                      [&](const CommandSetup& c) { return app.got_subcommand(c.app); });
    CLI::App& sub = *chosen.app;
    const std::string command = sub.get_name();
    o.command = chosen.command;
    if (o.seed && sub.count("--secure"))
        return UsageError(w,
                          Conflict(w, "--secure", "--seed",
                                   w("a seeded run is predictable", u8"有种子的运行是可以预测的")),
                          command);
    if (sub.count("--lf") && sub.count("--crlf"))
        return UsageError(
            w, Conflict(w, "--lf", "--crlf", w("a record has one end", u8"一条结果只有一种结尾")),
            command);
    if (sub.count("--lf") || sub.count("--crlf"))
        o.crlf = sub.count("--crlf") > 0;
    if (o.output == "-")
        o.output.reset();
    if (sub.count("--encoding")) {
        const std::string name = CLI::detail::to_lower(encoding);
        if (name == "utf-8" || name == "utf8")
            o.encoding = Encoding::Utf8;
        else if (name == "gbk" || name == "cp936")
            o.encoding = Encoding::Gbk;
        else if (name == "gb18030")
            o.encoding = Encoding::Gb18030;
        else
            return UsageError(w,
                              w("unknown encoding ", u8"未知的编码") + w.Quoted(encoding) +
                                  w(": utf-8, gbk or gb18030", u8"：utf-8、gbk 或 gb18030"),
                              command);
    }
    if (const Refusal usage = chosen.finish())
        return UsageError(w, *usage, command);
    if (afterDashes && o.command != Command::Events)
        return UsageError(w,
                          w("\"--\" introduces a program to run: events only",
                            u8"“--”引出要启动的程序：只用于 events"),
                          command);
    outcome.options = o;
    return outcome;
}
