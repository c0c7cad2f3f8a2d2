#pragma once
// The run protocol of the three pages, in one place. A page supplies its check, how its run
// starts, its timer's events or its worker's end, and its progress text; everything else of a run
// is here: the Generate click (Stop during a long run), the progress and fill timers, the worker,
// the closing message. An Export is a run too: it saves on the worker, and its button turns into
// Stop with the progress.
//
// A short run looks as it always has: Generate is disabled from the click until the closing
// message is answered. A run that goes on for more than half a second turns Generate into Stop
// (the button the user is looking at, enabled again) and shows its progress; closing the window
// ends a run at once.

#include "Export.h"
#include "PageCommon.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

// A batch on a worker thread. Its end is posted to the page as WM_BATCH_DONE; nothing else of it
// reaches the window, so the window stays free to paint and answer.
class CBatchWorker {
public:
    using Job = std::function<void(const std::atomic<bool>& stop, std::atomic<std::int64_t>& made)>;
    ~CBatchWorker();
    // Runs job(stop, made) on a new thread; job counts what it has made in made. What the job
    // throws ends it: Failure() then tells the page.
    void Start(HWND notify, Job job);
    void RequestStop() { m_stop = true; }
    // Waits for the job to return.
    void Wait();
    std::int64_t Made() const { return m_made.load(); }
    // After Wait: why the job ended by an exception, or null when it returned.
    const char* Failure() const { return m_failure; }

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<std::int64_t> m_made{0};
    const char* m_failure = nullptr;
};

// Posted by a worker when its job has returned.
constexpr UINT WM_BATCH_DONE = WM_APP + 1;
// The timer that watches a run's progress, beside GENERATE_TIMER_ID.
constexpr UINT PROGRESS_TIMER_ID = 2;
constexpr UINT PROGRESS_INTERVAL_MS = 250;
// A run this long shows its progress and can be stopped.
constexpr DWORD LONG_RUN_MS = 500;
// Fills a long list into an output box a piece at a time, between messages.
constexpr UINT FILL_TIMER_ID = 3;
// Each piece of such a fill takes about this long.
constexpr double FILL_PIECE_MS = 100;

class CGeneratorPage : public CDialog {
public:
    CGeneratorPage(UINT templateId, CWnd* parent, int generateId, int outputId);

    // Reads the controls into the page's settings; shows the first invalid one's message and
    // returns FALSE, or seeds the random source and returns TRUE.
    virtual BOOL CheckInput() = 0;
    // The Generate button: starts a run, or stops a long one.
    void OnGenerate();
    // Every timer of the page: the run's own, and GENERATE_TIMER_ID for the page.
    void OnTimer(UINT nIDEvent);
    // Ends a run at once and silently: the window is going away.
    void CancelRun();
    bool IsRunning() const { return m_bRunning; }

protected:
    // The run's messages; a page's table hands on what it does not handle.
    bool OnMessage(Message& m) override;

    // The check passed and Generate is disabled: the page starts its run.
    virtual void StartRun() = 0;
    // GENERATE_TIMER_ID fired during a run (it has been killed: each serves one tick).
    virtual void OnGenerateTimer() {}
    // The worker's job has ended (its thread is gone). failure: the words for an exception that
    // ended it, or null.
    virtual void OnWorkerDone(const char* /*failure*/) {}
    // The user asked to stop the run; by default the worker is asked to.
    virtual void OnStopRequest() { m_worker.RequestStop(); }
    // What the output box shows while a long run goes on; empty leaves the box as it is.
    virtual CString ProgressText() { return CString(); }

    // Runs job on the worker; OnWorkerDone follows on the window's thread.
    void StartWorker(CBatchWorker::Job job) { m_worker.Start(m_hWnd, std::move(job)); }
    // Saves to path, on the worker, what produce hands over (about total bytes in all). The
    // window stays free; after half a second the Export button exportId turns into Stop and shows
    // how far it is. A stopped or failed Export leaves the target as it was; the closing message
    // says how it ended.
    void StartExport(int exportId, const std::wstring& path, ExportEncoding encoding,
                     std::function<bool(const ExportWriter&)> produce, std::uint64_t total);
    // For the page's Export handler: true when the click was Stop for an Export under way.
    bool ExportClickStops();
    std::int64_t WorkerMade() const { return m_worker.Made(); }
    // The run is over: Generate reads "生成" again, and is enabled after message is answered.
    void FinishRun(const CString& message);
    // Sets the output box to text (GBK lines, each ended by CR LF): at once when that is quick,
    // else a piece at a time between messages, so that the window stays alive, a Stop can end it
    // and its progress shows. Then done(stopped, lines shown).
    void FillOutput(std::string text, std::function<void(bool stopped, std::int64_t lines)> done);
    bool StopRequested() const { return m_bStopRequested; }

    const int m_nGenerateId;
    const int m_nOutputId;

private:
    void BeginRun(int stopButtonId);
    void OnBatchDone();
    void ShowProgress();
    void FillNextPiece();
    void RequestStop();

    CBatchWorker m_worker;
    bool m_bRunning = false;
    int m_nStopButtonId = 0; // the button that turns into Stop: Generate, or Export
    bool m_bExporting = false;
    std::uint64_t m_nExportTotal = 0;
    ExportResult m_exportResult;
    std::string m_fillText;
    std::size_t m_nFillAt = 0;
    std::int64_t m_nFillLines = 0;
    bool m_bFilling = false;
    std::function<void(bool, std::int64_t)> m_fillDone;
    bool m_bStopRequested = false;
    bool m_bShowsStop = false;
    DWORD m_nRunStart = 0;
};

// "37%" of made out of count.
CString Percent(std::int64_t made, std::int64_t count);
