// Work handed to the UI thread by other threads.
//
// Everything that touches windows runs on the UI thread (the thread that installed the
// renderer). A window call made on another thread is queued and carried out by the UI thread
// while the caller waits, also while the UI thread sits in a modal loop or a message box; a UI
// thread that is blocked (in Sleep) just delays it. When the calling thread is being ended
// (plat::TerminateThread) the wait returns at once and the call is dropped, never run later.
#pragma once

#include <functional>

#include "win/types.h"

namespace win {

bool OnUiThread();

// Runs `call` on the UI thread and waits for it. On the UI thread it runs at once. Returns
// false when the call was dropped because the calling thread is being ended (or there is no
// UI thread). An exception thrown by `call` is re-thrown on the calling thread.
bool InvokeOnUiThread(const std::function<void()>& call);

// Runs `call` where window calls run: at once on the UI thread (or when no UI thread exists at
// all), else as InvokeOnUiThread does. Returns false when the call was dropped.
bool RunOnUiThread(const std::function<void()>& call);

// Queues `call` for the UI thread without waiting. It is dropped, never run, if `window` no
// longer exists when its turn comes. Calls run in the order they were posted.
void PostToWindow(HWND window, std::function<void()> call);

// The renderer's loop calls this whenever it is woken: runs every queued call in order.
void RunQueuedCalls();

}  // namespace win
