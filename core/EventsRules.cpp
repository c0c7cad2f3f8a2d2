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

const char* CheckEvents(const EventsInput& in, EventsSettings& s)
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
    return nullptr;
}

CString EventLine(const LocalTime& t)
{
    return CString::Format("%04d-%02d-%02d   %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                           t.minute, t.second);
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

CString EventSeries::EndMessage(bool stopped, bool groupedCounts) const
{
    const auto count =
        groupedCounts ? &CountText : [](std::int64_t n) { return CString::FromInt(n); };
    const CString failures = count(m_nLaunchFailures);
    if (!stopped)
        return m_nLaunchFailures > 0 ? "生成完成，但外部程序有 " + failures + " 次未能启动！"
                                     : CString(MSG_SUCCESS);
    CString message =
        "生成已停止：已发生 " + count(m_nFired) + " 次，共 " + count(m_nCount) + " 次。";
    if (m_nLaunchFailures > 0)
        message += "\r\n外部程序有 " + failures + " 次未能启动！";
    return message;
}
