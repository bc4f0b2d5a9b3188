// A thread of the kernel layer running a test's function, so that it can be ended the way the
// tool ends its worker (plat::TerminateThread).
#pragma once

#include <functional>

#include "platform/kernel.h"

namespace win::testing {

class WorkerThread {
  public:
    explicit WorkerThread(std::function<void()> body) : body_(std::move(body)) {
        handle_ = plat::CreateThread(nullptr, 0, &WorkerThread::Start, this, 0, nullptr);
    }
    // Ends the thread when it is still running (it may be waiting for the UI thread).
    ~WorkerThread() {
        if (!Finished()) {
            End();
        }
        plat::WaitForSingleObject(handle_, plat::INFINITE);
        plat::CloseHandle(handle_);
    }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Marks the thread, wakes its blocking calls and waits until it has returned.
    void End() { plat::TerminateThread(handle_, 0); }
    bool Finished() const { return plat::WaitForSingleObject(handle_, 0) == plat::WAIT_OBJECT_0; }

  private:
    static plat::DWORD Start(void* self) {
        static_cast<WorkerThread*>(self)->body_();
        return 0;
    }

    std::function<void()> body_;
    plat::HANDLE handle_ = nullptr;
};

}  // namespace win::testing
