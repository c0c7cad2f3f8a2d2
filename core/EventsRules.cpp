#include "EventsRules.h"

const char* CheckEvents(const EventsInput& in, EventsSettings& s)
{
    s.runProgram = in.runProgram;
    if (s.runProgram) {
        s.program = in.program.gbk;
        if (s.program.IsEmpty())
            return MSG_BAD_PROGRAM;
        if (in.programUnits > MAX_PROGRAM_CHARS)
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

CString EventSeries::EndMessage(bool stopped) const
{
    const CString failures = CString::FromInt(m_nLaunchFailures);
    if (!stopped)
        return m_nLaunchFailures > 0 ? "生成完成，但外部程序有 " + failures + " 次未能启动！"
                                     : CString(MSG_SUCCESS);
    CString message = "生成已停止：已发生 " + CString::FromInt(m_nFired) + " 次，共 " +
                      CString::FromInt(m_nCount) + " 次。";
    if (m_nLaunchFailures > 0)
        message += "\r\n外部程序有 " + failures + " 次未能启动！";
    return message;
}
