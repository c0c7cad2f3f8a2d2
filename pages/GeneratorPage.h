#pragma once
// What the three pages share while a run lasts. A short run looks as it always has: Generate is
// disabled from the click until the closing message is answered. A run that goes on for more than
// half a second turns Generate into Stop (the button the user is looking at, enabled again) and
// shows its progress; closing the window ends a run at once.

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
    ~CBatchWorker();
    // Runs job(stop, made) on a new thread; job counts what it has made in made.
    void
    Start(HWND notify,
          std::function<void(const std::atomic<bool>& stop, std::atomic<std::int64_t>& made)> job);
    void RequestStop() { m_stop = true; }
    // Waits for the job to return.
    void Wait();
    std::int64_t Made() const { return m_made.load(); }

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<std::int64_t> m_made{0};
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

    // Ends a run at once and silently: the window is going away.
    virtual void CancelRun() {}
    bool IsRunning() const { return m_bRunning; }

protected:
    // Generate is disabled; progress is watched from now on.
    void BeginRun();
    // The run is over: Generate reads "生成" again, and is enabled after message is answered.
    void FinishRun(const CString& message);
    // The click on Generate during a run is Stop: true when it was.
    bool HandleStopClick();
    // The user asked to stop the run.
    virtual void OnStopRequest() = 0;
    // What the output box shows while a long run goes on; empty leaves the box as it is.
    virtual CString ProgressText() { return CString(); }
    // For the page's OnTimer: true when the timer was the run's own (progress, filling).
    bool HandleRunTimer(UINT id);
    // Sets the output box to text (GBK lines, each ended by CR LF): at once when that is quick,
    // else a piece at a time between messages, so that the window stays alive, a Stop can end it
    // and its progress shows. Then done(stopped, lines shown).
    void FillOutput(std::string text, std::function<void(bool stopped, std::int64_t lines)> done);
    bool StopRequested() const { return m_bStopRequested; }

    const int m_nGenerateId;
    const int m_nOutputId;

private:
    void FillNextPiece();

    bool m_bRunning = false;
    std::string m_fillText;
    std::size_t m_nFillAt = 0;
    std::int64_t m_nFillLines = 0;
    std::function<void(bool, std::int64_t)> m_fillDone;
    bool m_bStopRequested = false;
    bool m_bShowsStop = false;
    DWORD m_nRunStart = 0;
};

// "37%" of made out of count.
CString Percent(std::int64_t made, std::int64_t count);
