#include "IntervalPage.h"

#include "core/SettingMessages.h"
#include "core/Random.h"
#include "corelib/WideText.h"
#include "framework/FieldReaders.h"
#include "framework/Platform.h"

namespace {
// "yyyy-mm-dd   hh:mm:ss\r\n"
constexpr std::size_t EVENT_LINE_BYTES = 23;
// Every event sets the box to the whole log: the longest log must still be set quickly.
constexpr double MAX_LOG_FILL_MS = 250;
} // namespace

CIntervalPage::CIntervalPage(CWnd* parent)
    : CGeneratorPage(IDD_PAGE_INTERVAL, parent, IDC_BTN_TIME_GENERATE, IDC_EDIT_TIME_OUTPUT)
{
}

CIntervalPage::~CIntervalPage() = default;

// Export (1029) has no entry: it does nothing.
bool CIntervalPage::OnMessage(Message& m)
{
    static const MessageEntry<CIntervalPage> map[] = {
        ForCommand(IDC_CHECK_RUN_PROGRAM, BN_CLICKED, &CIntervalPage::OnCheckRunProgram),
        ForCommand(IDC_BTN_TIME_GENERATE, BN_CLICKED, &CIntervalPage::OnGenerate),
        ForTimer(&CIntervalPage::OnTimer),
        ForMessage(WM_DESTROY, &CIntervalPage::CancelRun),
    };
    return Dispatch(this, map, m);
}

BOOL CIntervalPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetCheck(*this, IDC_CHECK_RUN_PROGRAM, 0);
    SetDlgItemText(IDC_EDIT_INTERVAL_MIN, "500");
    SetDlgItemText(IDC_EDIT_INTERVAL_MAX, "3000");
    SetDlgItemText(IDC_EDIT_TIME_COUNT, "10");
    return TRUE;
}

BOOL CIntervalPage::CheckInput()
{
    m_bRunProgram = IsChecked(*this, IDC_CHECK_RUN_PROGRAM);
    if (m_bRunProgram) {
        m_strProgram = GetDlgItemText(IDC_EDIT_PROGRAM);
        if (m_strProgram.IsEmpty())
            return RefuseSetting(*this, MSG_BAD_PROGRAM);
        // The whole text goes to the shell as one file name; a name is at most MAX_PATH - 1
        // characters, and longer texts have overrun the shell's own copy of it.
        if (WideFromGbk(m_strProgram.View()).size() >= MAX_PATH)
            return RefuseSetting(*this, MSG_PROGRAM_TOO_LONG);
    }
    m_nIntervalMin = ReadIntField(this, IDC_EDIT_INTERVAL_MIN);
    m_nIntervalMax = ReadIntField(this, IDC_EDIT_INTERVAL_MAX);
    m_nCount = ReadIntField(this, IDC_EDIT_TIME_COUNT);
    if (m_nIntervalMin > m_nIntervalMax)
        return RefuseSetting(*this, MSG_BAD_INTERVAL);
    if (m_nCount < 1)
        return RefuseSetting(*this, MSG_BAD_COUNT);
    // The box shows every line of the run: a count whose lines it cannot take quickly is refused.
    if (m_nCount * LineFillMs(EVENT_LINE_BYTES) > MAX_LOG_FILL_MS)
        return RefuseSetting(*this, "生成结果过大，请减小生成次数！");
    SeedRandom();
    return TRUE;
}

void CIntervalPage::OnGenerate()
{
    if (HandleStopClick())
        return;
    if (!CheckInput())
        return;
    BeginRun();
    SetDlgItemText(IDC_EDIT_TIME_OUTPUT, "");
    m_strLog.Empty();
    m_nFired = 0;
    m_nLaunchFailures = 0;
    SetTimer(GENERATE_TIMER_ID, NextDelay());
}

// A negative delay (pasted into a digits-only box) would wrap to weeks: it waits 0 ms instead.
UINT CIntervalPage::NextDelay()
{
    const int delay = RandBetween(m_nIntervalMin, m_nIntervalMax);
    return delay > 0 ? static_cast<UINT>(delay) : 0;
}

void CIntervalPage::OnTimer(UINT nIDEvent)
{
    if (HandleRunTimer(nIDEvent))
        return;
    if (nIDEvent == GENERATE_TIMER_ID && IsRunning()) {
        KillTimer(GENERATE_TIMER_ID); // each timer serves one event
        const CTime now = CTime::GetCurrentTime();
        m_strLog +=
            CString::Format("%04d-%02d-%02d   %02d:%02d:%02d", now.GetYear(), now.GetMonth(),
                            now.GetDay(), now.GetHour(), now.GetMinute(), now.GetSecond());
        m_strLog += "\r\n";
        SetDlgItemText(IDC_EDIT_TIME_OUTPUT, m_strLog);
        if (m_bRunProgram && !ShellOpen(*this, m_strProgram))
            ++m_nLaunchFailures; // the run goes on, and its end says so
        ++m_nFired;
        if (m_nFired == m_nCount) {
            FinishRun(EndMessage(false));
        } else {
            SetTimer(GENERATE_TIMER_ID, NextDelay());
        }
    }
    Default();
}

void CIntervalPage::OnCheckRunProgram()
{
    GetDlgItem(IDC_EDIT_PROGRAM).EnableWindow(IsChecked(*this, IDC_CHECK_RUN_PROGRAM));
}

void CIntervalPage::OnStopRequest()
{
    KillTimer(GENERATE_TIMER_ID);
    FinishRun(EndMessage(true));
}

void CIntervalPage::CancelRun()
{
    KillTimer(GENERATE_TIMER_ID);
}

CString CIntervalPage::EndMessage(bool stopped) const
{
    CString message = "生成成功！";
    if (stopped)
        message = "生成已停止：已发生 " + CString::FromInt(m_nFired) + " 次，共 " +
                  CString::FromInt(m_nCount) + " 次。";
    else if (m_nLaunchFailures > 0)
        message = "生成完成，但外部程序有 " + CString::FromInt(m_nLaunchFailures) + " 次未能启动！";
    if (stopped && m_nLaunchFailures > 0)
        message += "\r\n外部程序有 " + CString::FromInt(m_nLaunchFailures) + " 次未能启动！";
    return message;
}
