// What a kernel handle points at, and the shared state behind events, waits and thread ends.
#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/kernel.h"

namespace plat {

struct KernelObject {
    enum class Kind { Event, Thread };
    explicit KernelObject(Kind objectKind) : kind(objectKind) {}
    virtual ~KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;

    const Kind kind;
};

}  // namespace plat

namespace plat::detail {

// One lock over the state of every event and the end of every thread, and one condition that
// announces any change of it. Waits are few and short-lived here; one lock keeps a wait for
// several objects simple and free of lock-order questions.
std::mutex& KernelMutex();
std::condition_variable& KernelChanged();

struct EventObject final : KernelObject {
    EventObject(bool manual, bool initial)
        : KernelObject(Kind::Event), manualReset(manual), signalled(initial) {}
    const bool manualReset;
    bool signalled;  // under KernelMutex
};

struct WakeRegistration;

// Lives as long as either the thread runs or a handle to it is open.
struct ThreadControl {
    explicit ThreadControl(DWORD threadId) : id(threadId) {}
    const DWORD id;

    // Set once, under wakersMutex, by the first TerminateThread.
    std::atomic<bool> ending{false};
    // Held while the wakers run, so a registration cannot go away under its waker.
    std::mutex wakersMutex;
    std::vector<WakeRegistration*> wakers;

    // Under KernelMutex.
    bool finished = false;
    bool endRequested = false;
    DWORD endCode = 0;
    DWORD exitCode = STILL_ACTIVE;
};

struct WakeRegistration {
    ThreadControl* thread;
    std::function<void()> wake;
};

struct ThreadObject final : KernelObject {
    explicit ThreadObject(std::shared_ptr<ThreadControl> threadControl)
        : KernelObject(Kind::Thread), control(std::move(threadControl)) {}
    const std::shared_ptr<ThreadControl> control;
};

// The table of open handles; a handle that is not in it is refused, never dereferenced.
// Callers hold KernelMutex.
void AddHandle(KernelObject* object);
bool RemoveHandle(KernelObject* object);
EventObject* LiveEvent(HANDLE handle);
ThreadObject* LiveThread(HANDLE handle);
bool IsLive(HANDLE handle);

// Null on threads that CreateThread did not start.
ThreadControl* CurrentThreadControl();

// Counters of the fault injection; true for the call that is to fail.
bool EventCreationShouldFail();
bool ThreadCreationShouldFail();

}  // namespace plat::detail
