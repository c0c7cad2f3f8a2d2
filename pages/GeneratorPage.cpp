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

} // namespace

CGeneratorPage::CGeneratorPage(UINT templateId, CWnd* parent, int generateId, int outputId)
    : CDialog(templateId, parent), m_nGenerateId(generateId), m_nOutputId(outputId),
      m_nStopButtonId(generateId)
{
}

bool CGeneratorPage::OnMessage(Message& m)
{
    static const MessageEntry<CGeneratorPage> map[] = {
        ForTimer(&CGeneratorPage::OnTimer),
        ForMessage(WM_WORKER_DONE, &CGeneratorPage::OnBatchDone),
        ForMessage(WM_DESTROY, &CGeneratorPage::CancelRun),
    };
    return Dispatch(this, map, m);
}

void CGeneratorPage::OnGenerate()
{
    if (m_bRunning) {
        if (!m_bExporting) // the button is Stop
            RequestStop();
        return;
    }
    if (!CheckInput())
        return;
    BeginRun(m_nGenerateId);
    // A list that memory cannot hold ends the run with a message, not the page.
    try {
        StartRun();
    } catch (const std::bad_alloc&) {
        FinishRun(MSG_OUT_OF_MEMORY);
    }
}

void CGeneratorPage::BeginRun(int stopButtonId)
{
    GetDlgItem(m_nGenerateId).EnableWindow(FALSE);
    GetDlgItem(stopButtonId).EnableWindow(FALSE);
    m_nStopButtonId = stopButtonId;
    m_bRunning = true;
    m_bStopRequested = false;
    m_bShowsStop = false;
    m_nRunStart = ::GetTickCount();
    SetTimer(PROGRESS_TIMER_ID, PROGRESS_INTERVAL_MS);
}

// A click on the run's own button while it shows Stop: once is enough.
void CGeneratorPage::RequestStop()
{
    if (!m_bShowsStop || m_bStopRequested)
        return;
    m_bStopRequested = true;
    GetDlgItem(m_nStopButtonId).EnableWindow(FALSE);
    if (m_bExporting)
        m_worker.RequestStop();
    else if (m_filler.IsFilling())
        m_filler.Stop();
    else
        OnStopRequest();
}

void CGeneratorPage::StartExport(int exportId, const std::wstring& path, ExportEncoding encoding,
                                 std::function<bool(const ExportWriter&)> produce,
                                 std::uint64_t total)
{
    BeginRun(exportId);
    m_bExporting = true;
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

bool CGeneratorPage::ExportClickStops()
{
    if (!m_bRunning || !m_bExporting)
        return false;
    RequestStop();
    return true;
}

void CGeneratorPage::OnTimer(UINT nIDEvent)
{
    if (m_filler.OnTimer(nIDEvent))
        return;
    if (nIDEvent == PROGRESS_TIMER_ID) {
        ShowProgress();
        return;
    }
    KillTimer(nIDEvent); // every other timer of a page serves one tick
    if (nIDEvent == GENERATE_TIMER_ID && m_bRunning)
        OnGenerateTimer();
    Default();
}

void CGeneratorPage::ShowProgress()
{
    if (!m_bRunning) {
        KillTimer(PROGRESS_TIMER_ID);
        return;
    }
    if (::GetTickCount() - m_nRunStart < LONG_RUN_MS)
        return;
    CWnd button = GetDlgItem(m_nStopButtonId);
    if (!m_bShowsStop && !m_bStopRequested) {
        m_bShowsStop = true;
        button.SetWindowText("停止");
        button.EnableWindow(TRUE);
    }
    if (m_bExporting) { // the box keeps what it shows; the button tells how far the save is
        if (!m_bStopRequested)
            button.SetWindowText("停止 " +
                                 Percent(WorkerMade(), static_cast<std::int64_t>(m_nExportTotal)));
        return;
    }
    if (m_filler.IsFilling())
        return; // the list itself shows the progress now
    const CString progress = ProgressText();
    if (!progress.IsEmpty())
        SetDlgItemText(m_nOutputId, progress);
}

void CGeneratorPage::OnBatchDone()
{
    m_worker.Wait();
    if (!m_bRunning)
        return;
    const char* failure = FailureWords(m_worker.HowItEnded());
    if (m_bExporting) {
        FinishRun(failure ? CString(failure) : ExportResultText(m_exportResult));
        return;
    }
    OnWorkerDone(failure);
}

void CGeneratorPage::FinishRun(const CString& message)
{
    KillTimer(PROGRESS_TIMER_ID);
    m_bRunning = false;
    CWnd button = GetDlgItem(m_nStopButtonId);
    button.EnableWindow(FALSE);
    if (m_bShowsStop)
        button.SetWindowText(m_bExporting ? "导出" : "生成");
    m_bShowsStop = false;
    m_bExporting = false;
    PageMessage(*this, message);
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
    m_bRunning = false;
    m_bExporting = false;
}

void CGeneratorPage::FillOutput(std::string text, CBoxFiller::Done done)
{
    m_filler.Start(*this, m_nOutputId, std::move(text), std::move(done));
    if (m_filler.IsFilling() && m_bStopRequested)
        m_filler.Stop(); // the Stop came before the list: the fill ends at its first piece
}

CString Percent(std::int64_t made, std::int64_t count)
{
    const std::int64_t percent = count > 0 ? made * 100 / count : 0;
    return CString::FromInt(percent) + "%";
}
