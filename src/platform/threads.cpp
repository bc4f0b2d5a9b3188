// Threads: start, cooperative end, exit codes, and the wake-ups that make an end prompt.
#include <algorithm>
#include <system_error>
#include <thread>

#include "platform/detail/kernel_objects.h"

namespace plat::detail {

namespace {

thread_local ThreadControl* currentThread = nullptr;

}  // namespace

ThreadControl* CurrentThreadControl() {
    return currentThread;
}

}  // namespace plat::detail

namespace plat {

namespace {

std::atomic<DWORD> nextThreadId{4};

void RunThread(const std::shared_ptr<detail::ThreadControl>& control, ThreadStartRoutine start,
               void* parameter) {
    detail::currentThread = control.get();
    const DWORD returned = start(parameter);
    detail::currentThread = nullptr;
    std::lock_guard lock(detail::KernelMutex());
    control->exitCode = control->endRequested ? control->endCode : returned;
    control->finished = true;
    detail::KernelChanged().notify_all();
}

}  // namespace

HANDLE CreateThread(void* /*securityAttributes*/, std::size_t /*stackSize*/,
                    ThreadStartRoutine start, void* parameter, DWORD /*creationFlags*/,
                    DWORD* threadId) {
    if (start == nullptr || detail::ThreadCreationShouldFail()) {
        return nullptr;
    }
    auto control = std::make_shared<detail::ThreadControl>(nextThreadId.fetch_add(4));
    auto* handle = new detail::ThreadObject(control);
    {
        std::lock_guard lock(detail::KernelMutex());
        detail::AddHandle(handle);
    }
    if (threadId != nullptr) {
        *threadId = control->id;
    }
    try {
        // Detached: the handle, not a join, decides when the control block goes.
        std::thread(RunThread, control, start, parameter).detach();
    } catch (const std::system_error&) {
        CloseHandle(handle);
        return nullptr;
    }
    return handle;
}

DWORD GetCurrentThreadId() {
    if (const detail::ThreadControl* control = detail::CurrentThreadControl()) {
        return control->id;
    }
    // Threads this layer did not start get ids of their own, never equal to one it gives out.
    thread_local const DWORD foreignId = nextThreadId.fetch_add(4) + 2;
    return foreignId;
}

BOOL TerminateThread(HANDLE thread, DWORD exitCode) {
    std::shared_ptr<detail::ThreadControl> control;
    {
        std::lock_guard lock(detail::KernelMutex());
        detail::ThreadObject* object = detail::LiveThread(thread);
        if (object == nullptr || object->control.get() == detail::CurrentThreadControl()) {
            return FALSE;
        }
        control = object->control;
        if (control->finished) {
            return TRUE;
        }
        if (!control->endRequested) {
            control->endRequested = true;
            control->endCode = exitCode;
        }
    }
    {
        std::lock_guard lock(control->wakersMutex);
        if (!control->ending.exchange(true)) {
            for (detail::WakeRegistration* registration : control->wakers) {
                registration->wake();
            }
        }
    }
    std::unique_lock lock(detail::KernelMutex());
    detail::KernelChanged().wait(lock, [&] { return control->finished; });
    return TRUE;
}

BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode) {
    std::lock_guard lock(detail::KernelMutex());
    detail::ThreadObject* object = detail::LiveThread(thread);
    if (object == nullptr || exitCode == nullptr) {
        return FALSE;
    }
    *exitCode = object->control->finished ? object->control->exitCode : STILL_ACTIVE;
    return TRUE;
}

bool CurrentThreadEnding() {
    const detail::ThreadControl* control = detail::CurrentThreadControl();
    return control != nullptr && control->ending.load();
}

InterruptibleWait::InterruptibleWait(std::function<void()> wake) {
    detail::ThreadControl* control = detail::CurrentThreadControl();
    if (control == nullptr) {
        return;
    }
    auto* registration = new detail::WakeRegistration{control, std::move(wake)};
    std::lock_guard lock(control->wakersMutex);
    control->wakers.push_back(registration);
    thread_ = registration;
}

InterruptibleWait::~InterruptibleWait() {
    auto* registration = static_cast<detail::WakeRegistration*>(thread_);
    if (registration == nullptr) {
        return;
    }
    {
        std::lock_guard lock(registration->thread->wakersMutex);
        auto& wakers = registration->thread->wakers;
        wakers.erase(std::find(wakers.begin(), wakers.end(), registration));
    }
    delete registration;
}

}  // namespace plat
