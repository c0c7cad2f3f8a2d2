#include "Run.h"

#include "Commands.h"
#include "core/ExtendedGbk.h"
#include "core/GbkText.h"
#include "platform/TextConversion.h"

#include <cstdio>
#include <cstring>
#include <optional>

std::string Words::operator()(const Wording& message) const
{
    return Utf8(message.In(In()));
}

std::string Utf8(std::string_view gbk)
{
    std::string utf8;
    AppendUtf8FromExtendedGbk(gbk, &AppendUtf8FromGbk, utf8);
    return utf8;
}

void Say(Device& err, const std::string& utf8)
{
    err.WriteConsoleText(utf8);
}

namespace {

// Records in GBK, handed to the output in the chosen encoding. Remembers how the output failed.
class RecordWriter : public RecordSink {
public:
    // endsInside: a record may hold the record end itself (a --head with a line break).
    RecordWriter(Device& device, std::optional<Encoding> encoding, std::string_view recordEnd,
                 bool endsInside)
        : m_device(device), m_console(device.IsConsole() && !encoding),
          m_encoding(encoding.value_or(Encoding::Utf8)), m_recordEnd(recordEnd),
          m_endsInside(endsInside)
    {
    }

    bool Write(std::string_view records) override
    {
        if (m_status != WriteStatus::Ok)
            return false;
        if (m_encoding == Encoding::Gbk || IsAscii(records))
            return Put(records, m_console);
        m_utf8.clear();
        // Characters beyond GBK ride in a form of their own (core/ExtendedGbk.h).
        if (records.find(static_cast<char>(BEYOND_GBK_LEAD)) != std::string_view::npos)
            AppendUtf8FromExtendedGbk(records, &AppendUtf8FromGbk, m_utf8);
        else
            AppendUtf8FromGbk(records, m_utf8);
        if (m_encoding == Encoding::Gb18030) {
            // Through the characters, not the bytes: GB18030 and GBK spell some apart (the euro).
            m_gb18030.clear();
            AppendGb18030FromUtf8(m_utf8, m_gb18030);
            return Put(m_gb18030, false);
        }
        return Put(m_utf8, m_console);
    }

    WriteStatus Status() const { return m_status; }
    void Fail(WriteStatus status) { m_status = status; }
    // After Limited: the whole records of the piece that met the limit, which stay in the file.
    std::int64_t WholeRecordsAtTheLimit() const { return m_recordsAtTheLimit; }

private:
    bool Put(std::string_view bytes, bool console)
    {
        m_status = console ? m_device.WriteConsoleText(bytes) : m_device.Write(bytes);
        if (m_status == WriteStatus::Limited)
            KeepWholeRecords(bytes.substr(0, m_device.LastWritten()));
        return m_status == WriteStatus::Ok;
    }

    // The file-size limit took the bytes up to it: the record it cut is taken back out, so that
    // the output ends after the last whole record that fitted. Where a record may hold the record
    // end, records cannot be told apart in the piece, and all of it goes back.
    void KeepWholeRecords(std::string_view went)
    {
        const std::size_t end = m_endsInside ? std::string_view::npos : went.rfind(m_recordEnd);
        const std::size_t keep = end == std::string_view::npos ? 0 : end + m_recordEnd.size();
        if (!m_device.TakeBack(went.size() - keep)) {
            m_status = WriteStatus::Failed;
            return;
        }
        for (std::size_t at = 0; (at = went.find(m_recordEnd, at)) < keep; at += m_recordEnd.size())
            ++m_recordsAtTheLimit;
    }

    Device& m_device;
    bool m_console;
    Encoding m_encoding;
    std::string_view m_recordEnd;
    bool m_endsInside;
    std::string m_utf8, m_gb18030;
    WriteStatus m_status = WriteStatus::Ok;
    std::int64_t m_recordsAtTheLimit = 0;
};

} // namespace

int RunCli(const std::vector<std::string>& args, Language language, Device& out, Device& err,
           Clock& clock, const std::atomic<bool>* interrupted)
{
    const Words w(language);
    const ParseOutcome parsed = ParseCommandLine(args, language);
    if (!parsed.options) {
        if (!parsed.out.empty())
            out.WriteConsoleText(parsed.out);
        if (!parsed.err.empty())
            Say(err, parsed.err);
        return parsed.exitCode;
    }
    const CliOptions& cli = *parsed.options;
    if (cli.encoding == Encoding::Gb18030 && !CanWriteGb18030()) {
        Say(err, w("--encoding gb18030: this system has no GB18030 converter (Windows code page "
                   "54936); use gbk or utf-8",
                   u8"--encoding gb18030：本系统没有 GB18030 转换（Windows 代码页 "
                   u8"54936）；请用 gbk 或 utf-8！") +
                     "\n");
        return EXIT_REFUSED;
    }
    Settings settings;
    if (const auto refusal = CheckSettings(cli, settings, cli_system::MemoryBytes())) {
        Say(err, *refusal + "\n");
        return EXIT_REFUSED;
    }
    // Arguments that cannot reach the program as they are: refused before anything starts.
    if (!settings.command.empty())
        if (const auto refusal = cli_system::RefuseCommand(settings.command, w)) {
            Say(err, *refusal + "\n");
            return EXIT_REFUSED;
        }

    if (cli.command == Command::Strings)
        TellAboutStrings(err, w, settings);

    // The system's words for a failure after a colon, when it has any.
    const auto reason = [&w](const std::string& why) {
        return why.empty() ? why : w(": ", u8"：") + why;
    };
    Device* target = &out;
    std::string name = w("standard output", u8"标准输出"); // the file's path, in messages
    std::unique_ptr<Device> file;
    if (cli.output) {
        std::string why;
        if (!(file = cli_system::CreateFileDevice(*cli.output, why))) {
            Say(err, w.Pick("cannot create the output file ", U8(u8"无法创建输出文件：")) +
                         *cli.output + reason(why) + "\n");
            return EXIT_FAILED;
        }
        target = file.get();
        name = *cli.output;
    }

    if (!settings.warning.empty())
        Say(err, settings.warning + "\n");
    const std::string seed = w("seed: ", u8"种子：") + std::to_string(settings.seed.value_or(0));
    if (cli.verbose)
        Say(err, (settings.pageDraws ? seed + w(", the page's 15-bit draws", u8"，页面的 15 位抽取")
                  : settings.seed
                      ? seed + w(", exact draws from xoshiro256** seeded by splitmix64",
                                 u8"，精确抽取，来自以 splitmix64 播种的 xoshiro256**")
                      : w("seed: none, the secure random source", u8"种子：无，安全随机源")) +
                     "\n");
    if (cli.verbose && !settings.pageDraws && cli.command == Command::Strings) {
        char bits[32], least[32];
        std::snprintf(bits, sizeof bits, "%.1f", settings.odds.entropyBits);
        std::snprintf(least, sizeof least, "%.1f", settings.odds.minEntropyBits);
        Say(err, w.Pick("entropy: " + std::string(bits) + " bits per string, min-entropy " + least +
                            " bits (the likeliest string)",
                        U8(u8"熵：每个字符串 ") + bits + U8(u8" 比特，最小熵 ") + least +
                            U8(u8" 比特（最可能的字符串）")) +
                     "\n");
    }

    const StringOptions& texts = settings.strings;
    const bool endsInside = cli.command == Command::Strings &&
                            (texts.m_strHead.View().find('\n') != std::string_view::npos ||
                             texts.m_strTail.View().find('\n') != std::string_view::npos ||
                             texts.m_strInsert.View().find('\n') != std::string_view::npos);
    RecordWriter writer(*target, cli.encoding, cli.crlf ? "\r\n" : "\n", endsInside);
    BatchControl control;
    control.stop = interrupted;
    // "生成中，请稍后... 42%" on a terminal, redrawn now and then once a run has taken a second.
    const double start = clock.Seconds();
    double shown = 0; // when the line was last drawn; 0: never
    if (err.IsTerminal() && cli.command != Command::Events)
        control.progress = [&](std::int64_t made) {
            const double now = clock.Seconds();
            if (now - start < 1.0 || now - shown < 0.2)
                return;
            shown = now;
            Say(err, "\r" + w(MSG_WORKING) + " " +
                         std::to_string(static_cast<int>(100.0 * made / settings.count)) + "%");
        };
    bool exhausted = false;
    EventSeries events(settings.minDelay, settings.maxDelay, settings.count);
    const RunFrame run{cli, settings, w, writer, err, clock, control};
    const BatchResult result = cli.command == Command::Strings   ? RunStrings(run, exhausted)
                               : cli.command == Command::Numbers ? RunNumbers(run, exhausted)
                                                                 : RunEvents(run, events);
    if (shown > 0)
        Say(err, "\r                              \r");

    const WriteStatus finished = target->Finish(); // a file is closed in any case
    if (writer.Status() == WriteStatus::Ok)
        writer.Fail(finished);
    // An interrupt, or the file-size limit: the records written are whole, and the file is
    // closed. A write that failed after an interrupt came (a terminal that hung up) is part of
    // the interrupt.
    const WriteStatus status = writer.Status();
    const bool limited = status == WriteStatus::Limited;
    const bool cutShort = interrupted && *interrupted && status != WriteStatus::Ok && !limited;
    if (status == WriteStatus::Closed && !cutShort)
        return EXIT_PIPE_CLOSED;
    if (status == WriteStatus::Failed && !cutShort) {
        Say(err,
            w.Pick("write failed, the output is incomplete: ", U8(u8"写入失败，输出不完整：")) +
                name + reason(target->ErrorText()) + "\n");
        return EXIT_FAILED;
    }
    if (limited || cutShort || result.stopped) {
        const std::string made =
            std::to_string(result.made + (limited ? writer.WholeRecordsAtTheLimit() : 0));
        Say(err,
            w.Pick("interrupted, the output is incomplete: " + name + " (" + made +
                       " records written)",
                   U8(u8"已中断，输出不完整：") + name + U8(u8"（已写入 ") + made + U8(u8" 条）")) +
                reason(limited ? target->ErrorText() : "") + "\n");
        return limited ? EXIT_FILE_SIZE_LIMIT : EXIT_INTERRUPTED;
    }
    if (exhausted) {
        Say(err, w("the random source finds no more different records: the output is incomplete",
                   u8"随机源找不到更多不重复的结果，输出不完整。") +
                     "\n");
        return EXIT_FAILED;
    }
    if (events.LaunchFailures() > 0) {
        Say(err, Utf8(events.EndMessage(false, w.In()).View()) + "\n");
        return EXIT_FAILED;
    }
    return EXIT_DONE;
}
