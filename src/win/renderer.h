// What the window system expects of a renderer (the GTK window, or the headless one in tests).
//
// The model calls the renderer on the UI thread, after each change, so it can mirror the state;
// the renderer reads what changed through win/window.h. Operator input flows back only through
// win/input.h, which sends the model's own messages and notifications: a renderer never calls
// the tool's code directly.
#pragma once

#include <functional>

#include "win/types.h"

namespace win {

enum class Change {
    Created,    // a window and (for a dialog) all its controls exist now; not yet visible
    Destroyed,  // about to go: its handle is still valid during this call
    Text,
    Enabled,
    Visible,
    Focus,  // of a top-level window: Window::Focus() changed
    Check,
    PasswordChar,
    Lines,      // list box lines inserted or removed
    Selection,  // list box current selection
    Icon,
    Iconic,      // minimised or restored
    SystemMenu,  // items appended
    Placement,   // of a top-level window: Window::InitialPlacement() changed
};

class Renderer {
  public:
    virtual ~Renderer() = default;

    // A window changed (see Change). For Created and Destroyed of a dialog, the renderer gets
    // one call for the dialog; its controls are in Window::Children().
    virtual void WindowChanged(HWND window, Change change) = 0;

    // Runs the UI thread's loop until `done` returns true: operator input, and every call that
    // other threads queued (RunQueuedCalls in win/ui_thread.h) whenever it is woken. Nested
    // runs happen (a modal dialog opened from a handler of another one).
    virtual void RunUntil(const std::function<bool()>& done) = 0;

    // Any thread: a call was queued for the UI thread; make RunUntil run it soon.
    virtual void Wake() = 0;

    // The system menu's Move (SC_MOVE through the default handling): the operator moves the
    // top-level window with the keyboard, where the renderer can let them. Nothing by default.
    virtual void MoveWithKeyboard(HWND /*topLevel*/) {}

    // Pixel size of a dialog unit rectangle of this dialog's font (base units of the font:
    // average width of A-Z a-z / 52 and the font height; 1 DLU = base x / 4 by base y / 8).
    virtual RECT DialogUnitsToPixels(HWND dialog, RECT dialogUnits) = 0;
};

// Installs the renderer for the calling thread, which becomes the UI thread. Null uninstalls.
void SetRenderer(Renderer* renderer);
Renderer* CurrentRenderer();

}  // namespace win
