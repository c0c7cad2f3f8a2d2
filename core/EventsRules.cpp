#include "EventsRules.h"

namespace {

bool IsAsciiAlnum(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

// A scheme as the shell's URL parser reads one: two or more letters, digits, '+', '-' or '.',
// then a colon ("C:" is a drive).
bool HasUrlScheme(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size() &&
           (IsAsciiAlnum(text[i]) || text[i] == '+' || text[i] == '-' || text[i] == '.'))
        ++i;
    return i >= 2 && i < text.size() && text[i] == ':';
}

bool StartsWithWww(std::string_view text)
{
    if (text.size() < 3)
        return false;
    for (std::size_t i = 0; i < 3; ++i)
        if (text[i] != 'w' && text[i] != 'W')
            return false;
    return true;
}

} // namespace

std::size_t MaxProgramChars(std::string_view text)
{
    if (StartsWithWww(text))
        return MAX_PROGRAM_WWW_CHARS;
    return HasUrlScheme(text) ? MAX_PROGRAM_URL_CHARS : MAX_PROGRAM_FILE_CHARS;
}

bool ProgramFitsTheShell(std::string_view text, std::size_t units)
{
    // The shell takes the quotes off a text that is wholly quoted.
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"' && units >= 2) {
        text = text.substr(1, text.size() - 2);
        units -= 2;
    }
    return units <= MaxProgramChars(text);
}

Wording CheckEvents(const EventsInput& in, EventsSettings& s)
{
    s.runProgram = in.runProgram;
    if (s.runProgram) {
        s.program = in.program.gbk;
        if (s.program.IsEmpty())
            return MSG_BAD_PROGRAM;
        if (!ProgramFitsTheShell(s.program.View(), in.programUnits) ||
            (!in.expandedProgram.IsEmpty() &&
             !ProgramFitsTheShell(in.expandedProgram.View(), in.expandedUnits)))
            return MSG_PROGRAM_TOO_LONG;
        if (in.program.unspellable)
            return MSG_PROGRAM_NOT_GBK;
    }
    s.minDelay = in.minDelay;
    s.maxDelay = in.maxDelay;
    s.count = in.count;
    if (s.minDelay > s.maxDelay)
        return MSG_BAD_INTERVAL;
    if (s.count < 1)
        return MSG_BAD_COUNT;
    return {};
}

std::size_t Utf16Units(std::string_view utf8)
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

CString EventLine(const LocalTime& t)
{
    return CString::Format("%04d-%02d-%02d   %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                           t.minute, t.second);
}

CString IsoEventLine(const Timestamp& t)
{
    const int offset = t.utcOffsetMinutes < 0 ? -t.utcOffsetMinutes : t.utcOffsetMinutes;
    return CString::Format("%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d", t.local.year,
                           t.local.month, t.local.day, t.local.hour, t.local.minute, t.local.second,
                           t.millisecond, t.utcOffsetMinutes < 0 ? '-' : '+', offset / 60,
                           offset % 60);
}

EventSeries::EventSeries(int minDelay, int maxDelay, int count)
    : m_nMinDelay(minDelay), m_nMaxDelay(maxDelay), m_nCount(count)
{
}

void EventSeries::Fired(bool launched)
{
    ++m_nFired;
    if (!launched)
        ++m_nLaunchFailures;
}

CString EventSeries::EndMessage(bool stopped, Language language, bool groupedCounts) const
{
    const auto count =
        groupedCounts ? &CountText : [](std::int64_t n) { return CString::FromInt(n); };
    const CString failures = count(m_nLaunchFailures);
    const char* times = m_nLaunchFailures == 1 ? " time" : " times";
    const bool chinese = language == Language::Chinese;
    CString message;
    if (stopped)
        message =
            chinese
                ? "生成已停止：已发生 " + count(m_nFired) + " 次，共 " + count(m_nCount) + " 次。"
                : "stopped after " + count(m_nFired) + " of " + count(m_nCount) + " events";
    if (m_nLaunchFailures == 0)
        return stopped ? message : CString(chinese ? MSG_SUCCESS : "done");
    if (!stopped)
        return chinese ? "生成完成，但外部程序有 " + failures + " 次未能启动！"
                       : "done, but the program could not be started " + failures + times;
    return message + (chinese ? "\r\n外部程序有 " + failures + " 次未能启动！"
                              : "; the program could not be started " + failures + times);
}
