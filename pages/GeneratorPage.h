#pragma once
// The run protocol of the three pages, in one place. A page supplies its check, how its run
// starts, its timer's events or its worker's end, its progress text and what its Export saves;
// everything else of a run is here: the Generate and Export clicks (Stop during a long run), the
// phase the run is in, the progress timer, the closing message. The work itself runs beside the
// window in the framework's pieces: the worker thread (framework/Worker) and the box filler
// (framework/BoxFiller). An Export is a run too: it saves on the worker, and its button turns into
// Stop with the progress.
//
// A short run looks as it always has: Generate is disabled from the click until the closing
// message is answered. A run that goes on for more than half a second, by the clock the page is
// given, turns its button into Stop (the button the user is looking at, enabled again) and shows
// its progress; closing the window ends a run at once.

#include "Export.h"
#include "PageCommon.h"
#include "framework/BoxFiller.h"
#include "framework/Clock.h"
#include "framework/Worker.h"
#include "platform/ResultsFile.h"

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

// The controls every page has: the buttons the base page routes and the box a run shows.
struct PageControls {
    int generate;
    int exportButton; // 0: the page's Export does nothing
    int output;
};

class CGeneratorPage : public CDialog {
public:
    // What a run is doing; a page is in one phase at a time.
    enum class Phase {
        Idle,       // no run: Generate and Export wait for a click
        Waiting,    // the run has begun and defers its work (the strings page's 200 ms)
        Running,    // the page's work: on the worker, or on the page's own timer
        Filling,    // the run's list goes into the box a piece at a time
        Exporting,  // an Export saves on the worker
        Stopping,   // Stop was clicked: the worker or the fill ends at its next piece
        Confirming, // the closing message is open
    };

    CGeneratorPage(UINT templateId, CWnd* parent, const IClock& clock, PageControls controls);

    // Reads the controls into the page's settings; shows the first invalid one's message and
    // returns FALSE, or seeds the random source and returns TRUE.
    virtual BOOL CheckInput() = 0;
    // The Generate button: starts a run, or stops a long one.
    void OnGenerate();
    // The Export button: the page's Export when no run is on, or Stop for a long Export.
    void OnExport();
    // Ends a run at once and silently: the window is going away.
    void CancelRun();
    Phase RunPhase() const { return m_phase; }
    // A run is on and its closing message not yet open.
    bool IsRunning() const { return m_phase != Phase::Idle && m_phase != Phase::Confirming; }

protected:
    // The run's messages; a page's table hands on what it does not handle.
    bool OnMessage(Message& m) override;

    // The check passed and Generate is disabled: the page starts its run.
    virtual void StartRun() = 0;
    // GENERATE_TIMER_ID fired during a run (it has been killed: each serves one tick).
    virtual void OnGenerateTimer() {}
    // The worker's job has returned (its thread is gone).
    virtual void OnWorkerDone() {}
    // The worker's job ended by an exception, told in words: the page forgets what the run left;
    // the box and the closing message then say the words.
    virtual void OnWorkerFailed(const char* /*words*/) {}
    // The user stopped a run that was in phase was (Waiting or Running, now Stopping); by default
    // the worker is asked to end, and its end comes as for any run.
    virtual void OnStopRequest(Phase /*was*/) { m_worker.RequestStop(); }
    // What the output box shows while a long run goes on; empty leaves the box as it is.
    virtual CString ProgressText() { return CString(); }
    // Export with no run on: the page asks for a file and saves, or says why it cannot.
    virtual void ExportResults() {}
    // What the closing message of an Export says when the page's source of it failed.
    virtual CString ExportSourceFailure() const { return MSG_RESULTS_ALTERED; }

    // The run begins after ms, with OnGenerateTimer; it waits until then.
    void DeferRun(UINT ms);
    // Runs job on the worker; OnWorkerDone or OnWorkerFailed follows on the window's thread.
    void StartWorker(CWorker::Job job) { m_worker.Start(m_hWnd, std::move(job)); }
    std::int64_t WorkerMade() const { return m_worker.Made(); }
    // Saves to path, on the worker, what produce hands over (about total bytes in all). The window
    // stays free; after half a second the Export button turns into Stop and shows how far it is.
    // A stopped or failed Export leaves the target as it was; the closing message says how it
    // ended.
    void StartExport(const std::wstring& path, ExportEncoding encoding,
                     std::function<bool(const ExportWriter&)> produce, std::uint64_t total);
    // The run is over: its button reads as before, and is enabled after message is answered.
    void FinishRun(const CString& message);
    // Sets the output box to text (GBK lines, each ended by CR LF, within what a box shows): at
    // once when it is one piece, else a piece at a time between messages, so that the window stays
    // alive, a Stop can end it and its progress shows. Then done(stopped, lines shown). A Stop
    // clicked before the fill ends it at its first piece, unless afterStop: the run has answered
    // that Stop already and shows what it made.
    void FillOutput(std::string text, CBoxFiller::Done done, bool afterStop = false);

    const int m_nGenerateId;
    const int m_nExportId;
    const int m_nOutputId;

private:
    void BeginRun(Phase phase, int buttonId);
    void OnTimer(UINT nIDEvent);
    void OnWorkerEnded();
    void RequestStop();
    bool IsLongRun() const;
    bool IsExportRun() const { return m_nRunButtonId == m_nExportId && m_nExportId != 0; }
    // What the run's button and the box show while the run goes on.
    void ShowPhase();

    const IClock& m_clock;
    Phase m_phase = Phase::Idle;
    int m_nRunButtonId = 0; // the button that turns into Stop: Generate, or Export
    DWORD m_nRunStart = 0;
    CWorker m_worker;
    CBoxFiller m_filler{FILL_TIMER_ID};
    std::uint64_t m_nExportTotal = 0;
    ExportResult m_exportResult;
};

// "37%" of made out of count.
CString Percent(std::int64_t made, std::int64_t count);
