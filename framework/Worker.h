#pragma once
// One job on a thread of its own, beside the window that shows it. The two share a stop flag (the
// window sets it, the job looks at it) and a count of what the job has made (the job sets it, the
// window shows it). However the job ends, by returning or by throwing, its end is posted to the
// window as WM_WORKER_DONE; nothing else of it reaches the window, which stays free to paint,
// answer and offer Stop.

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

// Posted to the window a worker reports to, once its job has ended.
constexpr UINT WM_WORKER_DONE = WM_APP + 1;

class CWorker {
public:
    using Job = std::function<void(const std::atomic<bool>& stop, std::atomic<std::int64_t>& made)>;
    // How the latest job ended.
    enum class End { Returned, OutOfMemory, Threw };

    CWorker() = default;
    // Asks the job to stop and waits for it: what it works on may go right after.
    ~CWorker();
    CWorker(const CWorker&) = delete;
    CWorker& operator=(const CWorker&) = delete;

    // Runs job(stop, made) on a new thread, after the previous job has ended, and posts
    // WM_WORKER_DONE to notify when it is over.
    void Start(HWND notify, Job job);
    void RequestStop() { m_stop = true; }
    // Waits for the job to end; at once when none runs.
    void Wait();
    std::int64_t Made() const { return m_made.load(); }
    // After Wait.
    End HowItEnded() const { return m_end; }

private:
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<std::int64_t> m_made{0};
    End m_end = End::Returned;
};
