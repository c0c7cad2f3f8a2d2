#include "Run.h"

#include "Settings.h"
#include "Unique.h"
#include "core/Batch.h"
#include "core/Random.h"
#include "corelib/Core.h"

#include <optional>

namespace {

std::string Utf8(std::string_view gbk)
{
    std::string utf8;
    cli_system::AppendUtf8FromGbk(gbk, utf8);
    return utf8;
}

void Say(Device& err, const std::string& utf8)
{
    if (err.IsConsole())
        err.WriteConsoleText(utf8);
    else
        err.Write(utf8);
}

// Records in GBK, handed to the output in the chosen encoding. Remembers how the output failed.
class RecordWriter : public RecordSink {
public:
    RecordWriter(Device& device, std::optional<Encoding> encoding)
        : m_device(device), m_console(device.IsConsole() && !encoding),
          m_gbk(encoding == Encoding::Gbk)
    {
    }

    bool Write(std::string_view records) override
    {
        if (m_status != WriteStatus::Ok)
            return false;
        if (m_gbk || IsAscii(records)) {
            m_status = m_console ? m_device.WriteConsoleText(records) : m_device.Write(records);
        } else {
            m_utf8.clear();
            cli_system::AppendUtf8FromGbk(records, m_utf8);
            m_status = m_console ? m_device.WriteConsoleText(m_utf8) : m_device.Write(m_utf8);
        }
        return m_status == WriteStatus::Ok;
    }

    WriteStatus Status() const { return m_status; }
    void Fail(WriteStatus status) { m_status = status; }

private:
    static bool IsAscii(std::string_view bytes)
    {
        unsigned char any = 0; // or-ed in one pass, which the compiler vectorises
        for (char c : bytes)
            any |= static_cast<unsigned char>(c);
        return any < 0x80;
    }

    Device& m_device;
    bool m_console, m_gbk;
    std::string m_utf8;
    WriteStatus m_status = WriteStatus::Ok;
};

// "生成中，请稍后... 42%" on a terminal, redrawn now and then once a run has taken a second.
class ProgressLine {
public:
    ProgressLine(Device& err, std::int64_t total)
        : m_err(err), m_total(total), m_start(cli_system::MonotonicSeconds())
    {
    }
    void Show(std::int64_t made)
    {
        const double now = cli_system::MonotonicSeconds();
        if (now - m_start < 1.0 || now - m_last < 0.2)
            return;
        m_last = now;
        m_shown = true;
        std::string line = "\r";
        line += Utf8(MSG_WORKING) + " ";
        line += std::to_string(made * 100 / m_total);
        line += '%';
        Say(m_err, line);
    }
    void Clear()
    {
        if (m_shown)
            Say(m_err, "\r                              \r");
    }

private:
    Device& m_err;
    std::int64_t m_total;
    double m_start, m_last = 0;
    bool m_shown = false;
};

struct Target {
    Device* device;
    std::string name; // for messages: the file's path or "标准输出" in UTF-8
};

// The exit status for an output that failed, with its message; EXIT_DONE when it did not.
int OutputFailure(Device& err, const Target& target, WriteStatus status)
{
    if (status == WriteStatus::Ok)
        return EXIT_DONE;
    if (status == WriteStatus::Closed)
        return EXIT_PIPE_CLOSED;
    std::string why = target.device->ErrorText();
    Say(err, Utf8("写入失败，输出不完整：") + target.name + (why.empty() ? "" : Utf8("：") + why) +
                 "\n");
    return EXIT_FAILED;
}

// Waits until the deadline, or less when a stop is asked for: a delay of a minute ends at once.
void WaitUntil(double deadline, const std::atomic<bool>* stop)
{
    for (double now; (now = cli_system::MonotonicSeconds()) < deadline;) {
        if (stop && *stop)
            return;
        cli_system::SleepMilliseconds(
            static_cast<int>(std::min(50.0, (deadline - now) * 1000) + 1));
    }
}

// The page's series of events, driven by the clock instead of the page's timer.
BatchResult RunEvents(const CliOptions& cli, RandomSource& rng, RecordWriter& writer,
                      const std::atomic<bool>* stop, EventSeries& series)
{
    const std::string end = cli.lf ? "\n" : "\r\n";
    BatchResult result;
    for (; !series.Done(); ++result.made) {
        WaitUntil(cli_system::MonotonicSeconds() + series.NextDelay(rng) / 1000.0, stop);
        if (stop && *stop) {
            result.stopped = true; // the event had not happened yet
            break;
        }
        if (!writer.Write(EventLine(cli_system::LocalNow()).Str() + end))
            break;
        series.Fired(!cli.events.program || cli_system::StartProgram(*cli.events.program));
    }
    return result;
}

} // namespace

int RunCli(const std::vector<std::string>& args, Device& out, Device& err,
           const std::atomic<bool>* interrupted)
{
    const ParseOutcome parsed = ParseCommandLine(args);
    if (!parsed.options) {
        if (!parsed.out.empty())
            out.IsConsole() ? out.WriteConsoleText(parsed.out) : out.Write(parsed.out);
        if (!parsed.err.empty())
            Say(err, parsed.err);
        return parsed.exitCode;
    }
    const CliOptions& cli = *parsed.options;
    Settings settings;
    if (const auto refusal = CheckSettings(cli, settings, cli_system::MemoryBytes())) {
        Say(err, *refusal + "\n");
        return EXIT_REFUSED;
    }

    Target target{&out, Utf8("标准输出")};
    std::unique_ptr<Device> file;
    if (cli.output) {
        std::string why;
        file = cli_system::CreateFileDevice(*cli.output, why);
        if (!file) {
            Say(err, Utf8("无法创建输出文件：") + *cli.output +
                         (why.empty() ? "" : Utf8("：") + why) + "\n");
            return EXIT_FAILED;
        }
        target = Target{file.get(), *cli.output};
    }

    // The page's path: seed the process-wide source, then draw from a copy of it.
    std::optional<SecureBits> secureBits;
    RandomSource rng;
    if (cli.secure) {
        secureBits.emplace(&cli_system::SecureRandomBytes);
        rng = RandomSource::Secure(*secureBits);
        if (cli.verbose)
            Say(err, "seed: none (--secure)\n");
    } else {
        const std::uint32_t seed = settings.seed ? *settings.seed : cli_system::ClockSeed();
        SeedRandom(seed);
        rng = TheRandomSource();
        if (cli.verbose)
            Say(err, "seed: " + std::to_string(seed) + "\n");
    }
    // Chinese characters: reproducible with --seed, from the secure bits with --secure.
    std::optional<CCore> core;
    if (settings.seed)
        core.emplace(*settings.seed);
    else
        core.emplace();
    ComposerSources sources = SourcesOf(*core);
    if (cli.secure)
        sources.randInt = [&rng](int lo, int hi) { return rng.Between(lo, hi); };

    RecordWriter writer(*target.device, cli.encoding);
    const std::string_view recordEnd = cli.lf ? "\n" : "\r\n";
    std::optional<ProgressLine> progress;
    BatchControl control;
    control.stop = interrupted;
    if (err.IsTerminal() && cli.command != Command::Events) {
        progress.emplace(err, settings.count);
        control.progress = [&progress](std::int64_t made) { progress->Show(made); };
    }
    bool exhausted = false;
    EventSeries events(settings.minDelay, settings.maxDelay, settings.count);
    BatchResult result;
    switch (cli.command) {
    case Command::Strings: {
        const StringsBatch batch{
            .options = settings.strings, .count = settings.count, .recordEnd = recordEnd};
        result = cli.strings.unique
                     ? MakeUniqueStrings(batch, rng, sources, writer, control, exhausted)
                     : MakeStringsBatch(batch, rng, sources, writer, nullptr, control);
        break;
    }
    case Command::Numbers: {
        const NumbersList list{
            .options = settings.numbers, .count = settings.count, .recordEnd = recordEnd};
        result = cli.numbers.unique ? MakeUniqueNumbers(list, settings.uniqueWhole, rng, writer,
                                                        control, exhausted)
                                    : MakeNumbersBatch(list, rng, writer, control);
        break;
    }
    case Command::Events:
        result = RunEvents(cli, rng, writer, interrupted, events);
        break;
    }
    if (progress)
        progress->Clear();

    const WriteStatus finished = target.device->Finish(); // a file is closed in any case
    if (writer.Status() == WriteStatus::Ok)
        writer.Fail(finished);
    if (const int failed = OutputFailure(err, target, writer.Status()))
        return failed;
    if (result.stopped) {
        // Ctrl-C: the records written are whole, and the file is closed.
        Say(err, Utf8("已中断，输出不完整：") + target.name + Utf8("（已写入 ") +
                     std::to_string(result.made) + Utf8(" 条）") + "\n");
        return EXIT_INTERRUPTED;
    }
    if (exhausted) {
        Say(err, Utf8("随机源找不到更多不重复的结果，输出不完整。") + "\n");
        return EXIT_FAILED;
    }
    if (events.LaunchFailures() > 0) {
        Say(err, Utf8(events.EndMessage(false).View()) + "\n");
        return EXIT_FAILED;
    }
    return EXIT_DONE;
}
