// A fixed number of worker threads that each run the owner's processing operation again and
// again, paced by a wait on a stop event and a wake event, until the owner stops them.
#pragma once

#include <atomic>

#include "platform/kernel.h"
#include "platform/output.h"

// The line a failed run of the processing operation leaves on the debugger output.
inline constexpr char16_t kProcessingFailedLine[] = u"CBaseThread::TryProcessThread except 异常\n";

template <int nThreadCount>
class CBaseThread {
    static_assert(nThreadCount > 0);

  public:
    CBaseThread() = default;
    virtual ~CBaseThread() { Stop(); }
    CBaseThread(const CBaseThread&) = delete;
    CBaseThread& operator=(const CBaseThread&) = delete;

    // The work of one run, on worker `index`'s thread.
    virtual void ProcessThread(int index) = 0;

    // 1 when the workers run (or already ran), 0 on failure.
    int Start();

    // Signals the stop event, ends every worker and waits for its end, closes both events.
    // Does nothing when not started.
    void Stop();

  protected:
    static plat::DWORD ThreadProc(void* parameter);
    void TryProcessThread(int index);
    void ReleaseOwnHandle();

    enum { kStopEvent = 0, kWakeEvent = 1 };
    static constexpr plat::DWORD kWaitTimeoutMs = 5;

    plat::HANDLE m_hEvents[2] = {nullptr, nullptr};
    // Atomic because a worker leaving on the stop event takes its own entry while Stop may be
    // taking the same one: whoever takes the handle closes it, exactly once.
    std::atomic<plat::HANDLE> m_hThreads[nThreadCount] = {};
    plat::DWORD m_dwThreadIds[nThreadCount] = {};
    plat::DWORD m_dwWaitTimeout = 0;
    std::atomic<plat::LONG> m_lNextThreadIndex = 0;
};

template <int nThreadCount>
int CBaseThread<nThreadCount>::Start() {
    if (m_hEvents[kStopEvent] != nullptr || m_hEvents[kWakeEvent] != nullptr) {
        return 1;
    }
    m_lNextThreadIndex = 0;
    m_dwWaitTimeout = kWaitTimeoutMs;

    m_hEvents[kStopEvent] = plat::CreateEventW(nullptr, TRUE, TRUE, nullptr);
    m_hEvents[kWakeEvent] = plat::CreateEventW(nullptr, TRUE, TRUE, nullptr);
    if (m_hEvents[kStopEvent] == nullptr || m_hEvents[kWakeEvent] == nullptr) {
        return 0;
    }
    plat::ResetEvent(m_hEvents[kStopEvent]);
    plat::ResetEvent(m_hEvents[kWakeEvent]);

    for (int i = 0; i < nThreadCount; ++i) {
        plat::HANDLE thread =
            plat::CreateThread(nullptr, 0, &ThreadProc, this, 0, &m_dwThreadIds[i]);
        if (thread == nullptr) {
            Stop();
            return 0;
        }
        m_hThreads[i].store(thread);
    }
    return 1;
}

template <int nThreadCount>
void CBaseThread<nThreadCount>::Stop() {
    if (m_hEvents[kStopEvent] == nullptr && m_hEvents[kWakeEvent] == nullptr) {
        return;
    }
    if (m_hEvents[kStopEvent] != nullptr) {
        plat::SetEvent(m_hEvents[kStopEvent]);
    }
    for (auto& entry : m_hThreads) {
        // A worker that already took its entry has left its loop and touches nothing of ours.
        plat::HANDLE thread = entry.exchange(nullptr);
        if (thread != nullptr) {
            plat::TerminateThread(thread, 0);  // wakes it wherever it blocks, and joins it
            plat::CloseHandle(thread);
        }
    }
    for (auto& event : m_hEvents) {
        if (event != nullptr) {
            plat::CloseHandle(event);
            event = nullptr;
        }
    }
}

template <int nThreadCount>
plat::DWORD CBaseThread<nThreadCount>::ThreadProc(void* parameter) {
    auto* self = static_cast<CBaseThread*>(parameter);
    const int index = self->m_lNextThreadIndex.fetch_add(1);
    const plat::DWORD timeout = self->m_dwWaitTimeout == 0 ? plat::INFINITE : self->m_dwWaitTimeout;
    for (;;) {
        const plat::DWORD result = plat::WaitForMultipleObjects(2, self->m_hEvents, FALSE, timeout);
        if (result == plat::WAIT_OBJECT_0 + kStopEvent) {
            // Once its handle is released Stop no longer waits for this thread: nothing of the
            // object may be touched after this call.
            self->ReleaseOwnHandle();
            return 0;
        }
        if (result == plat::WAIT_OBJECT_0 + kWakeEvent) {
            self->TryProcessThread(index);
            plat::ResetEvent(self->m_hEvents[kWakeEvent]);
        } else if (result == plat::WAIT_TIMEOUT) {
            self->TryProcessThread(index);
        }
    }
}

template <int nThreadCount>
void CBaseThread<nThreadCount>::ReleaseOwnHandle() {
    // Worker indices follow the order in which the workers begin to run, not the order of
    // creation, so a worker finds its own entry by its thread id.
    const plat::DWORD self = plat::GetCurrentThreadId();
    for (int i = 0; i < nThreadCount; ++i) {
        if (m_dwThreadIds[i] == self) {
            plat::HANDLE own = m_hThreads[i].exchange(nullptr);
            if (own != nullptr) {
                plat::CloseHandle(own);
            }
            return;
        }
    }
}

template <int nThreadCount>
void CBaseThread<nThreadCount>::TryProcessThread(int index) {
    // No processor faults can be taken safely here; every exception the run throws is.
    try {
        ProcessThread(index);
    } catch (...) {
        plat::OutputDebugStringW(kProcessingFailedLine);
    }
}
