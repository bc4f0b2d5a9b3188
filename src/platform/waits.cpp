// Waiting for events and threads, and Sleep; each returns early on a thread being ended.
#include <chrono>
#include <optional>
#include <thread>

#include "platform/detail/kernel_objects.h"

namespace plat {

namespace {

using Clock = std::chrono::steady_clock;

constexpr DWORD kMaximumWaitObjects = 64;

bool IsSignalled(HANDLE object) {
    if (object->kind == KernelObject::Kind::Event) {
        return static_cast<detail::EventObject*>(object)->signalled;
    }
    return static_cast<detail::ThreadObject*>(object)->control->finished;
}

// Taking an auto-reset event's signal clears it.
void Consume(HANDLE object) {
    if (object->kind == KernelObject::Kind::Event) {
        auto* event = static_cast<detail::EventObject*>(object);
        if (!event->manualReset) {
            event->signalled = false;
        }
    }
}

struct Outcome {
    bool failed = false;
    std::optional<DWORD> index;  // set when the wait is satisfied
};

// Under the kernel lock. Handles are looked up anew each time: one may have been closed.
Outcome Check(DWORD count, const HANDLE* handles, bool waitAll) {
    Outcome outcome;
    DWORD signalled = 0;
    for (DWORD i = 0; i < count; ++i) {
        if (!detail::IsLive(handles[i])) {
            outcome.failed = true;
            return outcome;
        }
        if (IsSignalled(handles[i])) {
            if (!outcome.index) {
                outcome.index = i;
            }
            ++signalled;
        }
    }
    if (waitAll) {
        if (signalled == count) {
            for (DWORD i = 0; i < count; ++i) {
                Consume(handles[i]);
            }
            outcome.index = 0;
        } else {
            outcome.index.reset();
        }
    } else if (outcome.index) {
        Consume(handles[*outcome.index]);
    }
    return outcome;
}

DWORD WaitForObjects(DWORD count, const HANDLE* handles, bool waitAll, DWORD milliseconds) {
    if (count == 0 || count > kMaximumWaitObjects || handles == nullptr) {
        return WAIT_FAILED;
    }
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(milliseconds);
    InterruptibleWait interruption([] {
        std::lock_guard lock(detail::KernelMutex());
        detail::KernelChanged().notify_all();
    });
    std::unique_lock lock(detail::KernelMutex());
    for (;;) {
        const Outcome outcome = Check(count, handles, waitAll);
        if (outcome.failed) {
            return WAIT_FAILED;
        }
        if (outcome.index) {
            return WAIT_OBJECT_0 + *outcome.index;
        }
        if (CurrentThreadEnding() || milliseconds == 0) {
            return WAIT_TIMEOUT;
        }
        if (milliseconds == INFINITE) {
            detail::KernelChanged().wait(lock);
        } else if (Clock::now() >= deadline) {
            return WAIT_TIMEOUT;
        } else {
            detail::KernelChanged().wait_until(lock, deadline);
        }
    }
}

}  // namespace

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
    return WaitForObjects(count, handles, waitAll != FALSE, milliseconds);
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    return WaitForObjects(1, &object, false, milliseconds);
}

void Sleep(DWORD milliseconds) {
    if (milliseconds == 0) {
        std::this_thread::yield();
        return;
    }
    std::mutex mutex;
    std::condition_variable woken;
    InterruptibleWait interruption([&] {
        std::lock_guard lock(mutex);
        woken.notify_all();
    });
    std::unique_lock lock(mutex);
    const auto ending = [] { return CurrentThreadEnding(); };
    if (milliseconds == INFINITE) {
        woken.wait(lock, ending);
    } else {
        woken.wait_for(lock, std::chrono::milliseconds(milliseconds), ending);
    }
}

}  // namespace plat
