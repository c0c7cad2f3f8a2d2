#pragma once
// The few system calls the pages make besides windows: local time, files, the shell.

#include "Wnd.h"

// windows.h makes GetCurrentTime a macro for GetTickCount.
#ifdef GetCurrentTime
#undef GetCurrentTime
#endif

// The local time broken into calendar fields.
class CTime {
public:
    static CTime GetCurrentTime();
    int GetYear() const { return m_st.wYear; }
    int GetMonth() const { return m_st.wMonth; }
    int GetDay() const { return m_st.wDay; }
    int GetHour() const { return m_st.wHour; }
    int GetMinute() const { return m_st.wMinute; }
    int GetSecond() const { return m_st.wSecond; }

private:
    SYSTEMTIME m_st{};
};

// Asks the shell to "open" the text as a file or program, owned by owner, without waiting; false
// when the shell could not.
bool ShellOpen(CWnd& owner, const CString& file);
