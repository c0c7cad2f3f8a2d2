#pragma once
// The run protocol of the three pages, in one place. A page supplies its check, how its run
// starts, its timer's events or its worker's end, and its progress text; everything else of a run
// is here: the Generate click (Stop during a long run), the progress timer, the closing message.
// The work itself runs beside the window in the framework's pieces: the worker thread
// (framework/Worker) and the box filler (framework/BoxFiller). An Export is a run too: it saves on
// the worker, and its button turns into Stop with the progress.
//
// A short run looks as it always has: Generate is disabled from the click until the closing
// message is answered. A run that goes on for more than half a second turns Generate into Stop
// (the button the user is looking at, enabled again) and shows its progress; closing the window
// ends a run at once.

#include "Export.h"
#include "PageCommon.h"
#include "framework/BoxFiller.h"
#include "framework/Worker.h"

#include <cstdint>
#include <functional>
#include <string>

// The timer that watches a run's progress, beside GENERATE_TIMER_ID.
constexpr UINT PROGRESS_TIMER_ID = 2;
constexpr UINT PROGRESS_INTERVAL_MS = 250;
// A run this long shows its progress and can be stopped.
constexpr DWORD LONG_RUN_MS = 500;
// Paces the pieces of a list filled into the output box.
constexpr UINT FILL_TIMER_ID = 3;

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
    void StartWorker(CWorker::Job job) { m_worker.Start(m_hWnd, std::move(job)); }
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
    void FillOutput(std::string text, CBoxFiller::Done done);
    bool StopRequested() const { return m_bStopRequested; }

    const int m_nGenerateId;
    const int m_nOutputId;

private:
    void BeginRun(int stopButtonId);
    void OnBatchDone();
    void ShowProgress();
    void RequestStop();

    CWorker m_worker;
    CBoxFiller m_filler{FILL_TIMER_ID};
    bool m_bRunning = false;
    int m_nStopButtonId = 0; // the button that turns into Stop: Generate, or Export
    bool m_bExporting = false;
    std::uint64_t m_nExportTotal = 0;
    ExportResult m_exportResult;
    bool m_bStopRequested = false;
    bool m_bShowsStop = false;
    DWORD m_nRunStart = 0;
};

// "37%" of made out of count.
CString Percent(std::int64_t made, std::int64_t count);
