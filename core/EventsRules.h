#pragma once
// The interval generator's rule book, for the interval page and the command line alike: the
// settings' defaults, the check that refuses the first invalid setting in the page's order with
// the page's words, and the series of events itself, which the page's timer and the command
// line's clock both drive.

#include "Random.h"
#include "RunMessages.h"
#include "SettingText.h"
#include "Types.h"
#include "UniformSource.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string_view>

// As the page opens.
constexpr BOOL EVENTS_DEFAULT_RUN_PROGRAM = 0;
constexpr int EVENTS_DEFAULT_MIN_DELAY = 500;
constexpr int EVENTS_DEFAULT_MAX_DELAY = 3000;
constexpr int EVENTS_DEFAULT_COUNT = 10;

// How long the program text may be, in UTF-16 units. The whole text goes to the shell's "open" as
// one file, and what the shell makes of it sets the limit:
// - a file (a path, or a name the shell looks for) has at most MAX_PATH - 1 characters;
// - a web address, a scheme and a colon ("https:", "mailto:"), may be longer: Windows takes up to
//   INTERNET_MAX_URL_LENGTH - 1 (2083), but Wine 8's shell copies every text it cannot open
//   directly behind a 52-character registry path into 1024 characters (its App Paths lookup), and
//   longer texts overran that copy and ended the program: 1024 - 52 - 1;
// - a text starting with "www" that names no file is opened as "http://" + the text, which Wine's
//   shell builds in 256 characters: 256 - 7 - 1.
// The limits hold for the text as the shell reads it: without the quotes around the whole of it,
// and with environment variables ("%TEMP%") expanded, as Wine's shell expands them.
constexpr std::size_t MAX_PROGRAM_FILE_CHARS = 259;
constexpr std::size_t MAX_PROGRAM_URL_CHARS = 971;
constexpr std::size_t MAX_PROGRAM_WWW_CHARS = 248;

// The most UTF-16 units the shell takes for text (quotes around it already taken off); only its
// ASCII characters are looked at, so GBK and UTF-8 texts alike.
std::size_t MaxProgramChars(std::string_view text);
// Whether a program text of that many UTF-16 units fits the shell.
bool ProgramFitsTheShell(std::string_view text, std::size_t units);
// UTF-16 units of a UTF-8 text: what the shell counts a program's length in.
std::size_t Utf16Units(std::string_view utf8);

constexpr Wording MSG_BAD_PROGRAM{"外部程序命令行无效！", "invalid program"};
constexpr Wording MSG_PROGRAM_TOO_LONG{
    "外部程序命令行过长（网址最多 971 个字符，以 www 开头的最多 248 个，其他最多 259 个）！",
    "the program is too long (a web address at most 971 characters, one starting with www at most "
    "248, anything else at most 259)"};
constexpr Wording MSG_PROGRAM_NOT_GBK{"外部程序命令行含有 GBK 无法表示的字符！",
                                      "the program's name holds a character that GBK cannot spell"};
constexpr Wording MSG_BAD_INTERVAL{"发生间隔设定无效！", "invalid delays"};
// The interval page keeps the run's whole log for its box.
constexpr Wording MSG_TOO_MANY_EVENTS{"生成次数过多，请减小生成次数！",
                                      "too many events for the output box: lower the count"};

// What the page's controls hold, or the command line's arguments give, in the page's terms.
struct EventsInput {
    BOOL runProgram = 0;
    SettingText program;
    std::size_t programUnits = 0; // the program text's length in UTF-16 units
    // The text with environment variables expanded, when the front end's shell expands them
    // (empty when it is the text itself); it must fit the shell as well.
    CString expandedProgram;
    std::size_t expandedUnits = 0;
    int minDelay = 0, maxDelay = 0, count = 0;
};

struct EventsSettings {
    BOOL runProgram = 0;
    CString program;
    int minDelay = 0, maxDelay = 0, count = 0;
};

// Takes in into s in the page's order and returns the first invalid setting's message, or none.
// What was taken before a refusal keeps its new value, the rest its old one; the program text is
// taken only when a program is to run.
Wording CheckEvents(const EventsInput& in, EventsSettings& s);

// A local time, as the clock of the page or the command line breaks it up.
struct LocalTime {
    int year, month, day, hour, minute, second;
};

// "yyyy-mm-dd   hh:mm:ss": an event's line, without its line end.
CString EventLine(const LocalTime& t);

// A local time to the millisecond, and how far it is ahead of UTC.
struct Timestamp {
    LocalTime local;
    int millisecond = 0;
    int utcOffsetMinutes = 0;
};
// "2026-12-07T16:22:58.123+08:00": the command line's ISO 8601 event line.
CString IsoEventLine(const Timestamp& t);

// One run of events: the delays before them, what each made and how the run ended.
class EventSeries {
public:
    EventSeries(int minDelay, int maxDelay, int count);

    // The delay before the next event, in ms: a fresh draw from between(min, max), or from the
    // pages' source. A negative bound (pasted into a digits-only box) waits no time instead of
    // weeks.
    template <class Between> int NextDelay(Between between) const
    {
        return std::max(0, between(m_nMinDelay, m_nMaxDelay));
    }
    int NextDelay(RandomSource& rng) const
    {
        return NextDelay([&rng](int lo, int hi) { return rng.Between(lo, hi); });
    }
    // Exact: every delay from the shortest to the longest equally likely.
    int NextDelay(UniformSource& source) const
    {
        return NextDelay([&source](int lo, int hi) {
            const auto span = static_cast<std::uint64_t>(static_cast<long long>(hi) - lo);
            return static_cast<int>(lo + static_cast<long long>(source.UpTo(span)));
        });
    }
    // One event has happened; launched is false when its program could not be started.
    void Fired(bool launched = true);
    bool Done() const { return m_nFired >= m_nCount; }
    int FiredCount() const { return m_nFired; }
    int LaunchFailures() const { return m_nLaunchFailures; }
    // The closing message: success only when every launch succeeded. groupedCounts: the counts
    // with thousands separators, as the pages show them.
    CString EndMessage(bool stopped, Language language = Language::Chinese,
                       bool groupedCounts = false) const;

private:
    int m_nMinDelay, m_nMaxDelay, m_nCount;
    int m_nFired = 0;
    int m_nLaunchFailures = 0;
};
