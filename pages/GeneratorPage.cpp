#include "GeneratorPage.h"

#include "core/RunMessages.h"
#include "platform/TextConversion.h"

#include <algorithm>
#include <new>

CBatchWorker::~CBatchWorker()
{
    RequestStop();
    Wait();
}

void CBatchWorker::Start(HWND notify, Job job)
{
    Wait();
    m_stop = false;
    m_made = 0;
    m_failure = nullptr;
    m_thread = std::thread([this, notify, job = std::move(job)] {
        // An exception must not end the program without a word: the page says what happened.
        try {
            job(m_stop, m_made);
        } catch (const std::bad_alloc&) {
            m_failure = MSG_OUT_OF_MEMORY;
        } catch (...) {
            m_failure = "生成失败！";
        }
        ::PostMessageW(notify, WM_BATCH_DONE, 0, 0);
    });
}

void CBatchWorker::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

CGeneratorPage::CGeneratorPage(UINT templateId, CWnd* parent, int generateId, int outputId)
    : CDialog(templateId, parent), m_nGenerateId(generateId), m_nOutputId(outputId),
      m_nStopButtonId(generateId)
{
}

bool CGeneratorPage::OnMessage(Message& m)
{
    static const MessageEntry<CGeneratorPage> map[] = {
        ForTimer(&CGeneratorPage::OnTimer),
        ForMessage(WM_BATCH_DONE, &CGeneratorPage::OnBatchDone),
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
    else if (!m_bFilling) // a fill ends at its next piece
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
    if (nIDEvent == FILL_TIMER_ID) {
        KillTimer(FILL_TIMER_ID);
        FillNextPiece();
        return;
    }
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
    if (m_bFilling)
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
    if (m_bExporting) {
        const char* failure = m_worker.Failure();
        FinishRun(failure ? CString(failure) : ExportResultText(m_exportResult));
        return;
    }
    OnWorkerDone(m_worker.Failure());
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
    for (UINT id : {GENERATE_TIMER_ID, PROGRESS_TIMER_ID, FILL_TIMER_ID})
        KillTimer(id);
    m_bRunning = false;
    m_bExporting = false;
    m_bFilling = false;
    m_fillText.clear();
}

double TextFillMs(std::string_view text)
{
    double ms = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        end = end == std::string_view::npos ? text.size() : end + 1;
        ms += LineFillMs(end - at);
        at = end;
    }
    return ms;
}

void CGeneratorPage::FillOutput(std::string text,
                                std::function<void(bool stopped, std::int64_t lines)> done)
{
    if (TextFillMs(text) <= FILL_PIECE_MS) {
        const std::int64_t lines = std::count(text.begin(), text.end(), '\n');
        SetDlgItemText(m_nOutputId, CString(std::move(text)));
        done(false, lines);
        return;
    }
    m_fillText = std::move(text);
    m_nFillAt = 0;
    m_nFillLines = 0;
    m_bFilling = true;
    m_fillDone = std::move(done);
    SetDlgItemText(m_nOutputId, "");
    SendDlgItemMessage(m_nOutputId, EM_SETLIMITTEXT, 0); // appending is held to the limit
    // A timer, not a posted message: input and painting come before it.
    SetTimer(FILL_TIMER_ID, 1);
}

void CGeneratorPage::FillNextPiece()
{
    if (!m_bFilling)
        return;
    if (m_bStopRequested || m_nFillAt >= m_fillText.size()) {
        const bool stopped = m_nFillAt < m_fillText.size();
        m_bFilling = false;
        std::string().swap(m_fillText);
        CWnd box = GetDlgItem(m_nOutputId);
        box.SendMessage(EM_SETSEL, 0, 0); // the list is read from its top, as when set at once
        box.SendMessage(EM_SCROLLCARET);
        auto done = std::move(m_fillDone);
        done(stopped, m_nFillLines);
        return;
    }
    // Whole lines, at least one, worth about one piece of time.
    std::size_t end = m_nFillAt;
    double ms = 0;
    while (end < m_fillText.size() && (end == m_nFillAt || ms < FILL_PIECE_MS)) {
        std::size_t next = m_fillText.find('\n', end);
        next = next == std::string::npos ? m_fillText.size() : next + 1;
        ms += LineFillMs(next - end);
        end = next;
        ++m_nFillLines;
    }
    AppendToBox(GetDlgItem(m_nOutputId),
                std::string_view(m_fillText).substr(m_nFillAt, end - m_nFillAt));
    m_nFillAt = end;
    SetTimer(FILL_TIMER_ID, 1);
}

void AppendToBox(CWnd box, std::string_view gbk)
{
    const std::wstring text = WideFromGbk(gbk);
    const LRESULT length = ::GetWindowTextLengthW(box.m_hWnd);
    box.SendMessage(EM_SETSEL, static_cast<WPARAM>(length), length);
    box.SendMessage(EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

CString Percent(std::int64_t made, std::int64_t count)
{
    const std::int64_t percent = count > 0 ? made * 100 / count : 0;
    return CString::FromInt(percent) + "%";
}
