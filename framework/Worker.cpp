#include "Worker.h"

#include <new>

CWorker::~CWorker()
{
    RequestStop();
    Wait();
}

void CWorker::Start(HWND notify, Job job)
{
    Wait();
    m_stop = false;
    m_made = 0;
    m_end = End::Returned;
    m_thread = std::thread([this, notify, job = std::move(job)] {
        // An exception leaving a thread ends the program without a word: the window is told
        // instead, as of any other end.
        try {
            job(m_stop, m_made);
        } catch (const std::bad_alloc&) {
            m_end = End::OutOfMemory;
        } catch (...) {
            m_end = End::Threw;
        }
        ::PostMessageW(notify, WM_WORKER_DONE, 0, 0);
    });
}

void CWorker::Wait()
{
    if (m_thread.joinable())
        m_thread.join();
}
