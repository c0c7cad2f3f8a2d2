// zanfor-cli events: the interval page's series, driven by the clock instead of the page's timer.
#include "Commands.h"

CommandSetup SetupEvents(CLI::App& app, CliOptions& o, const Words& w,
                         const std::optional<std::vector<std::string>>& afterDashes)
{
    CLI::App* sub = app.add_subcommand(
        "events",
        w("Timestamped events at random intervals; each line goes out the moment it happens",
          u8"随机间隔的带时间戳事件；每个事件发生时立即输出一行"));
    EventsArgs& e = o.events;
    sub->add_option("--min-delay", e.minDelay,
                    w("Shortest delay before an event, ms", u8"事件前最短的等待，毫秒"))
        ->type_name("MS")
        ->capture_default_str();
    sub->add_option("--max-delay", e.maxDelay,
                    w("Longest delay before an event, ms", u8"事件前最长的等待，毫秒"))
        ->type_name("MS")
        ->capture_default_str();
    sub->add_option("-n,--count", e.count, w("Number of events", u8"事件个数"))
        ->type_name("N")
        ->capture_default_str();
    sub->add_option("--run", e.program,
                    w("Start PROGRAM at every event as the Zanfor tool's interval page does: the "
                      "whole text is the program's name",
                      u8"每个事件时启动 PROGRAM，同 Zanfor 工具的间隔页：整段文字是程序名"))
        ->type_name("PROGRAM");
    sub->add_flag("--iso", e.iso,
                  w("ISO 8601 time stamps with milliseconds and the offset from UTC",
                    u8"ISO 8601 时间戳，带毫秒和与 UTC 的偏移"));
    return {Command::Events, sub, [sub, &o, &w, &afterDashes]() -> Refusal {
                if (afterDashes && sub->count("--run"))
                    return Conflict(
                        w, "--run", "--",
                        w("one program runs at every event", u8"每个事件只启动一个程序"));
                if (afterDashes && afterDashes->empty())
                    return w("no program after \"--\"", u8"“--”后面没有程序");
                o.events.command = afterDashes.value_or(std::vector<std::string>{});
                return std::nullopt;
            }};
}

Refusal CheckEventsArgs(const Words& w, const CliOptions& cli, Settings& out)
{
    const EventsArgs& a = cli.events;
    // The program goes to the system as typed (UTF-8): only its emptiness and length are checked.
    EventsInput in;
    const std::optional<std::string> program = a.command.empty() ? a.program : a.command.front();
    in.runProgram = program.has_value();
    in.program.gbk = CString(program.value_or(""));
    in.programUnits = Utf16Units(program.value_or(""));
    if (auto r = ReadWhole(w, "--min-delay", a.minDelay, in.minDelay))
        return r;
    if (auto r = ReadWhole(w, "--max-delay", a.maxDelay, in.maxDelay))
        return r;
    if (auto r = ReadWhole(w, "-n", a.count, in.count))
        return r;
    EventsSettings s;
    const std::string delays = "--min-delay " + a.minDelay + " --max-delay " + a.maxDelay;
    if (auto r = Page(w, CheckEvents(in, s),
                      {{MSG_BAD_INTERVAL, delays,
                        w("--min-delay is above --max-delay", u8"--min-delay 大于 --max-delay")},
                       {MSG_BAD_COUNT, "-n " + a.count, w("must be at least 1", u8"至少为 1")},
                       {MSG_BAD_PROGRAM, "--run " + w.Quoted(program.value_or("")),
                        w("it is empty", u8"为空")}}))
        return r;
    out.minDelay = s.minDelay;
    out.maxDelay = s.maxDelay;
    out.count = s.count;
    // The events' one setting of the page's draws: a seeded run repeats them.
    out.pageDraws = cli.seed.has_value();
    if (out.pageDraws)
        out.warning = ReachWarning(w, delays, ClassicCut(s.minDelay, s.maxDelay));
    out.command = a.command;
    return std::nullopt;
}

BatchResult RunEvents(const RunFrame& run, EventSeries& series)
{
    const CliOptions& cli = run.cli;
    const Settings& settings = run.settings;
    const Words& w = run.w;
    const std::atomic<bool>* stop = run.control.stop;
    const std::string end = cli.crlf ? "\r\n" : "\n";
    std::vector<std::string> command = settings.command;
    if (command.empty() && cli.events.program)
        command.push_back(*cli.events.program);
    std::string lastWhy;
    return WithSource(settings, [&](auto& source) {
        BatchResult result;
        for (; !series.Done(); ++result.made) {
            run.clock.WaitUntil(run.clock.Seconds() + series.NextDelay(source) / 1000.0, stop);
            if (stop && *stop) {
                result.stopped = true; // the event had not happened yet
                break;
            }
            const Timestamp now = run.clock.Now();
            if (!run.records.Write(
                    (cli.events.iso ? IsoEventLine(now) : EventLine(now.local)).Str() + end))
                break;
            bool started = true;
            std::string why;
            if (!command.empty()) {
                started = settings.command.empty()
                              ? cli_system::StartProgram(command.front(), w, why)
                              : cli_system::StartCommand(command, w, why);
                // Said once for each reason, not at every event.
                if (!started && why != lastWhy) {
                    Say(run.err,
                        w.Pick("cannot start the program " + w.Quoted(command.front()) + ": ",
                               U8(u8"无法启动外部程序") + w.Quoted(command.front()) + U8(u8"：")) +
                            why + "\n");
                    lastWhy = why;
                }
            }
            series.Fired(started);
        }
        return result;
    });
}
