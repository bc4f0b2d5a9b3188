// Kernel services: manual-reset events, threads, waits, tick count, Sleep.
//
// Ending a thread is cooperative. TerminateThread marks the thread, wakes every blocking call
// of this layer it may sit in (a wait, Sleep, a receive, a cross-thread window call, a message
// box) and joins it. Once marked, every such call on that thread returns at once. No thread is
// ever killed mid-instruction and no exception is thrown into it.
#pragma once

#include <functional>

#include "platform/types.h"

namespace plat {

constexpr DWORD INFINITE = 0xFFFFFFFFu;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;
constexpr DWORD WAIT_FAILED = 0xFFFFFFFFu;
constexpr DWORD STILL_ACTIVE = 259;

using ThreadStartRoutine = DWORD (*)(void* parameter);

// Returns null on failure. Security attributes and name are accepted and ignored.
HANDLE CreateEventW(void* securityAttributes, BOOL manualReset, BOOL initialState,
                    const char16_t* name);
BOOL SetEvent(HANDLE event);
BOOL ResetEvent(HANDLE event);

// Closing a thread handle never affects the thread: a running thread goes on and cleans up
// after itself when it ends. A thread may close its own handle.
BOOL CloseHandle(HANDLE object);

// Starts the thread at once (creation flags 0). Returns null on failure; writes the id.
HANDLE CreateThread(void* securityAttributes, std::size_t stackSize, ThreadStartRoutine start,
                    void* parameter, DWORD creationFlags, DWORD* threadId);

// Waits for any one of `count` events (waitAll FALSE). Returns WAIT_OBJECT_0 + the lowest index
// of a signalled event, WAIT_TIMEOUT when `milliseconds` ran out, WAIT_FAILED on bad arguments.
// A thread that is being ended does not block: it gets the signalled index or WAIT_TIMEOUT.
DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds);

// Cooperative end of a thread created by CreateThread: marks it, wakes its blocking calls and
// waits until it has returned from its start routine. A thread cannot end itself this way.
BOOL TerminateThread(HANDLE thread, DWORD exitCode);

// STILL_ACTIVE while the thread runs, then its exit code (the one given to TerminateThread
// when it was ended that way).
BOOL GetExitCodeThread(HANDLE thread, DWORD* exitCode);

// Waits for one object: a thread is signalled once it has finished, an event while it is set.
// WAIT_OBJECT_0, WAIT_TIMEOUT or WAIT_FAILED; does not block on a thread that is being ended.
DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds);

// The id CreateThread wrote for the calling thread (threads it did not start get other ids).
DWORD GetCurrentThreadId();

// Milliseconds since an arbitrary start, wrapping at 32 bits.
DWORD GetTickCount();

// Returns early when the calling thread is being ended.
void Sleep(DWORD milliseconds);

// True on a thread that TerminateThread has marked.
bool CurrentThreadEnding();

// Lets a blocking call of this layer (or of a test fake) wake when its thread is being ended.
// While the object lives, TerminateThread on the current thread runs `wake` once (on the
// terminating thread). Construct it before testing CurrentThreadEnding(), so no end is missed;
// `wake` must take the waiter's own lock before it notifies. Construct it before taking that
// lock (and so destroy it after releasing it): `wake` runs under the registration's lock. On
// threads not created by CreateThread it does nothing.
class InterruptibleWait {
  public:
    explicit InterruptibleWait(std::function<void()> wake);
    ~InterruptibleWait();
    InterruptibleWait(const InterruptibleWait&) = delete;
    InterruptibleWait& operator=(const InterruptibleWait&) = delete;

  private:
    void* thread_ = nullptr;
};

// Fault injection and clock control for tests. All counters count down on each call of the
// service concerned; the call that takes a counter from 1 to 0 fails.
namespace testing {
void FailEventCreationAt(int nthCall);   // 0 disables
void FailThreadCreationAt(int nthCall);  // 0 disables
void SetTickCount(DWORD value);          // fixes GetTickCount until ResetTickCount
void ResetTickCount();
void ResetKernelFaults();  // clears all of the above
}  // namespace testing

}  // namespace plat
