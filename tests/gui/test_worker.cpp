// The framework's worker: the job's end reaches the window as a posted message however the job
// ends, and the stop flag and the count are shared with the window.
#include "Harness.h"
#include "framework/Worker.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

// Waits for the job to end; true when its end was posted to window.
bool EndedAndPosted(CWorker& worker, HWND window)
{
    worker.Wait();
    MSG done;
    return PeekMessageW(&done, window, WM_WORKER_DONE, WM_WORKER_DONE, PM_REMOVE) != FALSE;
}

} // namespace

TEST(Worker, AJobThatThrowsIsReportedToTheWindowInsteadOfEndingTheProgram)
{
    HostWindow host;
    CWorker worker;
    const std::pair<CWorker::Job, CWorker::End> cases[] = {
        {[](auto&, auto&) { throw std::bad_alloc(); }, CWorker::End::OutOfMemory},
        {[](auto&, auto&) { throw std::runtime_error("no"); }, CWorker::End::Threw},
        {[](auto&, auto&) {}, CWorker::End::Returned},
    };
    for (const auto& [job, end] : cases) {
        worker.Start(host.hwnd, job);
        ASSERT_TRUE(EndedAndPosted(worker, host.hwnd));
        EXPECT_EQ(worker.HowItEnded(), end);
    }
}

TEST(Worker, AStoppedJobEndsWithWhatItMade)
{
    HostWindow host;
    CWorker worker;
    worker.Start(host.hwnd, [](const std::atomic<bool>& stop, std::atomic<std::int64_t>& made) {
        while (!stop)
            ++made;
    });
    ASSERT_TRUE(PumpUntil([&] { return worker.Made() > 0; }));
    worker.RequestStop();
    ASSERT_TRUE(EndedAndPosted(worker, host.hwnd));
    const std::int64_t made = worker.Made();
    EXPECT_GT(made, 0);
    EXPECT_EQ(worker.HowItEnded(), CWorker::End::Returned);
    // The next job starts from nothing, not stopped.
    worker.Start(host.hwnd, [](const std::atomic<bool>& stop, std::atomic<std::int64_t>& made) {
        made = stop ? -1 : 1;
    });
    ASSERT_TRUE(EndedAndPosted(worker, host.hwnd));
    EXPECT_EQ(worker.Made(), 1);
}
