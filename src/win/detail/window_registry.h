// The table of windows: creation, look-up, removal, and telling the renderer of changes.
// UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "win/detail/window_state.h"
#include "win/renderer.h"

namespace win::detail {

// A new window with a handle no window had before. Not yet shown to the renderer.
WindowState& CreateWindowState();
// Null when the window does not exist (any more).
WindowState* Find(HWND window);
// The dialog of a control, or the window itself when it is top-level.
WindowState* TopLevelOf(HWND window);
// Forgets the window; its handle is never reused.
void Remove(HWND window);
std::vector<HWND> AllTopLevel();

// Tells the renderer, unless the window is being destroyed or its dialog is not created yet.
void Notify(const WindowState& window, Change change);
// Marks a dialog (with its controls) as known to the renderer and sends Created.
void AnnounceCreated(WindowState& dialog);

}  // namespace win::detail
