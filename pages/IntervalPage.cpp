#include "IntervalPage.h"

#include "platform/TextConversion.h"
#include "framework/FieldReaders.h"
#include "framework/Platform.h"

namespace {
// "yyyy-mm-dd   hh:mm:ss\r\n"
constexpr long long EVENT_LINE_BYTES = 23;

// The program text as Wine's shell reads it, environment variables ("%TEMP%") expanded, when that
// differs from the text: a short text can grow past what the shell takes.
void ExpandForShell(EventsInput& in)
{
    const std::wstring text = WideFromGbk(in.program.gbk.View());
    const DWORD size = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
    if (size == 0)
        return;
    std::wstring expanded(size, L'\0');
    const DWORD written = ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), size);
    if (written == 0 || written > size)
        return;
    expanded.resize(written - 1);
    if (expanded == text)
        return;
    in.expandedProgram = GbkFromWide(expanded);
    in.expandedUnits = expanded.size();
}
} // namespace

// Its Export (1029) is given to nobody: it does nothing.
CIntervalPage::CIntervalPage(CWnd* parent, const IClock& clock)
    : CGeneratorPage(
          IDD_PAGE_INTERVAL, parent, clock,
          {.generate = IDC_BTN_TIME_GENERATE, .exportButton = 0, .output = IDC_EDIT_TIME_OUTPUT})
{
}

CIntervalPage::~CIntervalPage() = default;

bool CIntervalPage::OnMessage(Message& m)
{
    static const MessageEntry<CIntervalPage> map[] = {
        ForCommand(IDC_CHECK_RUN_PROGRAM, BN_CLICKED, &CIntervalPage::OnCheckRunProgram),
    };
    return Dispatch(this, map, m) || CGeneratorPage::OnMessage(m);
}

BOOL CIntervalPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetCheck(*this, IDC_CHECK_RUN_PROGRAM, EVENTS_DEFAULT_RUN_PROGRAM);
    SetDlgItemText(IDC_EDIT_INTERVAL_MIN, CString::FromInt(EVENTS_DEFAULT_MIN_DELAY));
    SetDlgItemText(IDC_EDIT_INTERVAL_MAX, CString::FromInt(EVENTS_DEFAULT_MAX_DELAY));
    SetDlgItemText(IDC_EDIT_TIME_COUNT, CString::FromInt(EVENTS_DEFAULT_COUNT));
    return TRUE;
}

BOOL CIntervalPage::CheckInput()
{
    EventsInput in;
    in.runProgram = IsChecked(*this, IDC_CHECK_RUN_PROGRAM);
    if (in.runProgram) {
        in.program = ReadTextField(this, IDC_EDIT_PROGRAM, &in.programUnits);
        ExpandForShell(in);
    }
    in.minDelay = ReadIntField(this, IDC_EDIT_INTERVAL_MIN);
    in.maxDelay = ReadIntField(this, IDC_EDIT_INTERVAL_MAX);
    in.count = ReadIntField(this, IDC_EDIT_TIME_COUNT);
    EventsSettings s{m_bRunProgram, m_strProgram, m_nIntervalMin, m_nIntervalMax, m_nCount};
    const char* refusal = CheckEvents(in, s);
    m_bRunProgram = s.runProgram;
    m_strProgram = s.program;
    m_nIntervalMin = s.minDelay;
    m_nIntervalMax = s.maxDelay;
    m_nCount = s.count;
    // The log is kept whole for the box: a run whose lines memory cannot hold is refused.
    if (!refusal && m_nCount * EVENT_LINE_BYTES > MAX_OUTPUT_BYTES)
        refusal = MSG_TOO_MANY_EVENTS;
    if (refusal)
        return RefuseSetting(*this, refusal);
    SeedRandom();
    return TRUE;
}

void CIntervalPage::StartRun()
{
    SetDlgItemText(IDC_EDIT_TIME_OUTPUT, "");
    SendDlgItemMessage(IDC_EDIT_TIME_OUTPUT, EM_SETLIMITTEXT, 0); // a day of events and more
    m_strLog.Empty();
    m_nFired = 0;
    m_series = EventSeries(m_nIntervalMin, m_nIntervalMax, m_nCount);
    ScheduleNextEvent();
}

void CIntervalPage::ScheduleNextEvent()
{
    SetTimer(GENERATE_TIMER_ID, static_cast<UINT>(m_series.NextDelay(TheRandomSource())));
}

void CIntervalPage::OnGenerateTimer()
{
    const CTime now = CTime::GetCurrentTime();
    const CString line = EventLine({now.GetYear(), now.GetMonth(), now.GetDay(), now.GetHour(),
                                    now.GetMinute(), now.GetSecond()}) +
                         "\r\n";
    m_strLog += line;
    ShowNewLine(line);
    m_series.Fired(!m_bRunProgram || ShellOpen(*this, m_strProgram)); // a failure: the run goes on
    m_nFired = m_series.FiredCount();
    if (m_series.Done())
        FinishRun(m_series.EndMessage(false, Language::Chinese, true));
    else
        ScheduleNextEvent();
}

// The box shows the whole log, the newest line last. Setting it all again at every event cost
// more with every line; appending the new one shows the same text, unless the user has edited the
// box since, which the log then replaces.
void CIntervalPage::ShowNewLine(const CString& line)
{
    CWnd box = GetDlgItem(IDC_EDIT_TIME_OUTPUT);
    if (box.SendMessage(EM_GETMODIFY)) {
        SetDlgItemText(IDC_EDIT_TIME_OUTPUT, m_strLog);
        return;
    }
    AppendToBox(box, line.View());
    box.SendMessage(EM_SETMODIFY, FALSE); // the edit control counts its own appending as an edit
}

void CIntervalPage::OnCheckRunProgram()
{
    GetDlgItem(IDC_EDIT_PROGRAM).EnableWindow(IsChecked(*this, IDC_CHECK_RUN_PROGRAM));
}

void CIntervalPage::OnStopRequest(Phase)
{
    KillTimer(GENERATE_TIMER_ID);
    FinishRun(m_series.EndMessage(true, Language::Chinese, true));
}
