#pragma once
// The interval generator's rule book, for the interval page and the command line alike: the
// settings' defaults, the check that refuses the first invalid setting in the page's order with
// the page's words, and the series of events itself, which the page's timer and the command
// line's clock both drive.

#include "Random.h"
#include "RunMessages.h"
#include "SettingText.h"
#include "Types.h"

#include <algorithm>
#include <cstddef>

// As the page opens.
constexpr BOOL EVENTS_DEFAULT_RUN_PROGRAM = 0;
constexpr int EVENTS_DEFAULT_MIN_DELAY = 500;
constexpr int EVENTS_DEFAULT_MAX_DELAY = 3000;
constexpr int EVENTS_DEFAULT_COUNT = 10;

// The longest program text, in UTF-16 units: the whole text goes to the shell as one file name,
// and longer texts have overrun the shell's own copy of it.
constexpr std::size_t MAX_PROGRAM_CHARS = 259;

constexpr const char* MSG_BAD_PROGRAM = "外部程序命令行无效！";
constexpr const char* MSG_PROGRAM_TOO_LONG = "外部程序路径过长（最多 259 个字符）！";
constexpr const char* MSG_PROGRAM_NOT_GBK = "外部程序命令行含有 GBK 无法表示的字符！";
constexpr const char* MSG_BAD_INTERVAL = "发生间隔设定无效！";
// The interval page keeps the run's whole log for its box.
constexpr const char* MSG_TOO_MANY_EVENTS = "生成次数过多，请减小生成次数！";

// What the page's controls hold, or the command line's arguments give, in the page's terms.
struct EventsInput {
    BOOL runProgram = 0;
    SettingText program;
    std::size_t programUnits = 0; // the program text's length in UTF-16 units
    int minDelay = 0, maxDelay = 0, count = 0;
};

struct EventsSettings {
    BOOL runProgram = 0;
    CString program;
    int minDelay = 0, maxDelay = 0, count = 0;
};

// Takes in into s in the page's order and returns the first invalid setting's message, or null.
// What was taken before a refusal keeps its new value, the rest its old one; the program text is
// taken only when a program is to run.
const char* CheckEvents(const EventsInput& in, EventsSettings& s);

// A local time, as the clock of the page or the command line breaks it up.
struct LocalTime {
    int year, month, day, hour, minute, second;
};

// "yyyy-mm-dd   hh:mm:ss": an event's line, without its line end.
CString EventLine(const LocalTime& t);

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
    // One event has happened; launched is false when its program could not be started.
    void Fired(bool launched = true);
    bool Done() const { return m_nFired >= m_nCount; }
    int FiredCount() const { return m_nFired; }
    int LaunchFailures() const { return m_nLaunchFailures; }
    // The closing message: success only when every launch succeeded.
    CString EndMessage(bool stopped) const;

private:
    int m_nMinDelay, m_nMaxDelay, m_nCount;
    int m_nFired = 0;
    int m_nLaunchFailures = 0;
};
