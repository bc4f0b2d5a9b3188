#include "win/ui_thread.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/kernel.h"
#include "platform/output.h"
#include "win/detail/carry_out.h"
#include "win/detail/quit_state.h"
#include "win/detail/window_registry.h"
#include "win/renderer.h"

namespace win {
namespace {

struct PendingCall {
    std::function<void()> call;
    bool posted = false;
    HWND window = nullptr;  // posted calls: dropped when this window is gone

    // Calls a thread waits for.
    bool started = false;
    bool finished = false;
    bool dropped = false;
    bool callerEnding = false;
    std::exception_ptr error;
};

struct Dispatcher {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::shared_ptr<PendingCall>> queue;
    Renderer* wakeTarget = nullptr;  // under mutex, for Wake from any thread
    std::atomic<Renderer*> renderer{nullptr};
    std::atomic<std::thread::id> uiThread{};
};

Dispatcher& TheDispatcher() {
    static Dispatcher dispatcher;
    return dispatcher;
}

void WakeLocked(Dispatcher& d) {
    if (d.wakeTarget != nullptr) {
        d.wakeTarget->Wake();
    }
}

void DropAllLocked(Dispatcher& d) {
    for (auto& pending : d.queue) {
        pending->dropped = true;
    }
    d.queue.clear();
    d.changed.notify_all();
}

std::string Describe(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown exception";
    }
}

}  // namespace

void SetRenderer(Renderer* renderer) {
    Dispatcher& d = TheDispatcher();
    std::lock_guard lock(d.mutex);
    d.wakeTarget = renderer;
    d.renderer.store(renderer);
    d.uiThread.store(renderer != nullptr ? std::this_thread::get_id() : std::thread::id{});
    detail::ForgetQuit();
    if (renderer == nullptr) {
        // Nobody will run them any more: their callers get false.
        DropAllLocked(d);
    }
}

Renderer* CurrentRenderer() {
    return TheDispatcher().renderer.load();
}

bool OnUiThread() {
    const std::thread::id ui = TheDispatcher().uiThread.load();
    return ui != std::thread::id{} && ui == std::this_thread::get_id();
}

bool detail::HasUiThread() {
    return TheDispatcher().uiThread.load() != std::thread::id{};
}

bool InvokeOnUiThread(const std::function<void()>& call) {
    if (OnUiThread()) {
        call();
        return true;
    }
    Dispatcher& d = TheDispatcher();
    auto pending = std::make_shared<PendingCall>();
    pending->call = call;
    // Registered before the ending test and before the lock, as the kernel layer asks.
    plat::InterruptibleWait endWatch([&d, pending] {
        std::lock_guard lock(d.mutex);
        pending->callerEnding = true;
        d.changed.notify_all();
    });
    std::unique_lock lock(d.mutex);
    if (!detail::HasUiThread() || plat::CurrentThreadEnding()) {
        return false;
    }
    d.queue.push_back(pending);
    WakeLocked(d);
    // A call the UI thread has started is waited for to the end: it may read the caller's data.
    d.changed.wait(lock, [&] {
        return pending->finished || pending->dropped ||
               (pending->callerEnding && !pending->started);
    });
    if (pending->finished) {
        if (pending->error) {
            std::rethrow_exception(pending->error);
        }
        return true;
    }
    if (!pending->dropped) {
        std::erase(d.queue, pending);
        pending->dropped = true;
    }
    return false;
}

bool RunOnUiThread(const std::function<void()>& call) {
    if (detail::RunsHere()) {
        call();
        return true;
    }
    return InvokeOnUiThread(call);
}

void PostToWindow(HWND window, std::function<void()> call) {
    Dispatcher& d = TheDispatcher();
    auto pending = std::make_shared<PendingCall>();
    pending->call = std::move(call);
    pending->posted = true;
    pending->window = window;
    std::lock_guard lock(d.mutex);
    d.queue.push_back(std::move(pending));
    WakeLocked(d);
}

void RunQueuedCalls() {
    if (!OnUiThread()) {
        return;
    }
    Dispatcher& d = TheDispatcher();
    for (;;) {
        std::shared_ptr<PendingCall> next;
        {
            std::lock_guard lock(d.mutex);
            if (d.queue.empty()) {
                return;
            }
            next = d.queue.front();
            d.queue.pop_front();
            next->started = true;
        }
        if (next->posted) {
            if (detail::Find(next->window) == nullptr) {
                continue;
            }
            try {
                next->call();
            } catch (...) {
                // Never into the renderer's loop: leave a trace and go on.
                const std::string line = "exception in a call posted to the UI thread: " +
                                         Describe(std::current_exception()) + "\n";
                plat::OutputDebugStringA(line.c_str());
            }
            continue;
        }
        std::exception_ptr error;
        try {
            next->call();
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard lock(d.mutex);
        next->error = error;
        next->finished = true;
        d.changed.notify_all();
    }
}

}  // namespace win
