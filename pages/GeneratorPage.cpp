#include "GeneratorPage.h"

#include "core/RunMessages.h"

#include <new>

namespace {

// What the user is told of a job that ended by an exception; null when it returned.
const char* FailureWords(CWorker::End end)
{
    switch (end) {
    case CWorker::End::OutOfMemory:
        return MSG_OUT_OF_MEMORY;
    case CWorker::End::Threw:
        return "生成失败！";
    case CWorker::End::Returned:
        break;
    }
    return nullptr;
}

// Sets a button's text only when it changes: a button repaints at every text it is given.
void SetButtonText(CWnd button, const CString& text)
{
    if (!(button.GetWindowText() == text))
        button.SetWindowText(text);
}

} // namespace

CGeneratorPage::CGeneratorPage(UINT templateId, CWnd* parent, const IClock& clock,
                               PageControls controls)
    : CDialog(templateId, parent), m_nGenerateId(controls.generate),
      m_nExportId(controls.exportButton), m_nOutputId(controls.output), m_clock(clock),
      m_nRunButtonId(controls.generate)
{
}

bool CGeneratorPage::OnMessage(Message& m)
{
    // Every page routes its Generate and Export the same way: here, by the identifiers it gave.
    const MessageEntry<CGeneratorPage> map[] = {
        ForCommand(m_nGenerateId, BN_CLICKED, &CGeneratorPage::OnGenerate),
        ForCommand(m_nExportId, BN_CLICKED, &CGeneratorPage::OnExport),
        ForTimer(&CGeneratorPage::OnTimer),
        ForMessage(WM_WORKER_DONE, &CGeneratorPage::OnWorkerEnded),
        ForMessage(WM_DESTROY, &CGeneratorPage::CancelRun),
    };
    return Dispatch(this, map, m);
}

void CGeneratorPage::OnGenerate()
{
    if (m_phase != Phase::Idle) {
        if (!IsExportRun()) // the button is Stop
            RequestStop();
        return;
    }
    if (!CheckInput())
        return;
    BeginRun(Phase::Running, m_nGenerateId);
    // A list that memory cannot hold ends the run with a message, not the page.
    try {
        StartRun();
    } catch (const std::bad_alloc&) {
        FinishRun(MSG_OUT_OF_MEMORY);
    }
}

void CGeneratorPage::OnExport()
{
    if (m_nExportId == 0)
        return;
    if (m_phase == Phase::Idle) {
        ExportResults();
        return;
    }
    if (IsExportRun()) // the button is Stop
        RequestStop();
    else if (IsRunning())
        PageMessage(*this, MSG_EXPORT_WHILE_RUNNING);
}

void CGeneratorPage::BeginRun(Phase phase, int buttonId)
{
    GetDlgItem(m_nGenerateId).EnableWindow(FALSE);
    GetDlgItem(buttonId).EnableWindow(FALSE);
    m_nRunButtonId = buttonId;
    m_phase = phase;
    m_nRunStart = m_clock.NowMs();
    SetTimer(PROGRESS_TIMER_ID, PROGRESS_INTERVAL_MS);
}

void CGeneratorPage::DeferRun(UINT ms)
{
    m_phase = Phase::Waiting;
    SetTimer(GENERATE_TIMER_ID, ms);
}

bool CGeneratorPage::IsLongRun() const
{
    return m_clock.NowMs() - m_nRunStart >= LONG_RUN_MS; // unsigned: right across the wrap
}

// A click on the run's own button once it has been offered as Stop: once is enough.
void CGeneratorPage::RequestStop()
{
    const Phase was = m_phase;
    if (!IsLongRun() || (was != Phase::Waiting && was != Phase::Running && was != Phase::Filling &&
                         was != Phase::Exporting))
        return;
    GetDlgItem(m_nRunButtonId).EnableWindow(FALSE);
    m_phase = Phase::Stopping;
    if (was == Phase::Filling)
        m_filler.Stop();
    else if (was == Phase::Exporting)
        m_worker.RequestStop();
    else
        OnStopRequest(was);
}

void CGeneratorPage::StartExport(const std::wstring& path, ExportEncoding encoding,
                                 std::function<bool(const ExportWriter&)> produce,
                                 std::uint64_t total)
{
    BeginRun(Phase::Exporting, m_nExportId);
    m_nExportTotal = total;
    StartWorker([this, path, encoding, produce = std::move(produce)](
                    const std::atomic<bool>& stop, std::atomic<std::int64_t>& made) {
        bool stopped = false;
        m_exportResult = SaveExport(path, encoding, [&](const ExportWriter& write) {
            return produce([&](std::string_view piece) {
                if (stop) {
                    stopped = true;
                    return false;
                }
                made += static_cast<std::int64_t>(piece.size());
                return write(piece);
            });
        });
        if (stopped) // the temporary file is gone and the target as it was
            m_exportResult = {ExportResult::Outcome::Stopped, CString()};
    });
}

void CGeneratorPage::OnTimer(UINT nIDEvent)
{
    if (m_filler.OnTimer(nIDEvent))
        return;
    if (nIDEvent == PROGRESS_TIMER_ID) {
        if (IsRunning())
            ShowPhase();
        else
            KillTimer(PROGRESS_TIMER_ID);
        return;
    }
    KillTimer(nIDEvent); // every other timer of a page serves one tick
    if (nIDEvent == GENERATE_TIMER_ID) {
        if (m_phase == Phase::Waiting)
            m_phase = Phase::Running;
        if (m_phase == Phase::Running)
            OnGenerateTimer();
    }
    Default();
}

// The one place that decides what a run shows while it goes on: nothing new for half a second,
// then its button as Stop and its progress.
void CGeneratorPage::ShowPhase()
{
    if (!IsLongRun())
        return;
    CWnd button = GetDlgItem(m_nRunButtonId);
    switch (m_phase) {
    case Phase::Exporting: // the box keeps what it shows; the button tells how far the save is
        SetButtonText(button,
                      "停止 " + Percent(WorkerMade(), static_cast<std::int64_t>(m_nExportTotal)));
        button.EnableWindow(TRUE);
        return;
    case Phase::Waiting:
    case Phase::Running:
    case Phase::Filling:
        SetButtonText(button, "停止");
        button.EnableWindow(TRUE);
        break;
    case Phase::Stopping: // the button stays as it was, disabled
        break;
    case Phase::Idle:
    case Phase::Confirming:
        return;
    }
    if (IsExportRun() || m_filler.IsFilling())
        return; // a stopping Export keeps the box; a list that fills is the progress itself
    const CString progress = ProgressText();
    if (!progress.IsEmpty())
        SetDlgItemText(m_nOutputId, progress);
}

void CGeneratorPage::OnWorkerEnded()
{
    m_worker.Wait();
    if (!IsRunning())
        return;
    const char* failure = FailureWords(m_worker.HowItEnded());
    if (IsExportRun()) {
        FinishRun(failure ? CString(failure)
                  : m_exportResult.outcome == ExportResult::Outcome::SourceFailed
                      ? ExportSourceFailure()
                      : ExportResultText(m_exportResult));
        return;
    }
    if (failure) {
        // As after a failed write: the box and the message say why.
        OnWorkerFailed(failure);
        SetDlgItemText(m_nOutputId, failure);
        FinishRun(failure);
        return;
    }
    OnWorkerDone();
}

void CGeneratorPage::FinishRun(const CString& message)
{
    KillTimer(PROGRESS_TIMER_ID);
    m_phase = Phase::Confirming;
    CWnd button = GetDlgItem(m_nRunButtonId);
    button.EnableWindow(FALSE);
    SetButtonText(button, IsExportRun() ? "导出" : "生成");
    PageMessage(*this, message);
    m_phase = Phase::Idle;
    button.EnableWindow(TRUE);
    GetDlgItem(m_nGenerateId).EnableWindow(TRUE);
}

void CGeneratorPage::CancelRun()
{
    m_worker.RequestStop();
    m_worker.Wait();
    m_filler.Cancel();
    for (UINT id : {GENERATE_TIMER_ID, PROGRESS_TIMER_ID})
        KillTimer(id);
    m_phase = Phase::Idle;
}

void CGeneratorPage::FillOutput(std::string text, CBoxFiller::Done done, bool afterStop)
{
    m_filler.Start(*this, m_nOutputId, std::move(text), std::move(done));
    if (!m_filler.IsFilling())
        return; // set at once, and done
    if (m_phase != Phase::Stopping)
        m_phase = Phase::Filling;
    else if (!afterStop)
        m_filler.Stop(); // the Stop came before the list, all of it made: its showing ends
    // else what a stopped run made fills whole; its button stays disabled, as after any Stop
}

CString Percent(std::int64_t made, std::int64_t count)
{
    const std::int64_t percent = count > 0 ? made * 100 / count : 0;
    return CString::FromInt(percent) + "%";
}
