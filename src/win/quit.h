// The program's end asked from outside its windows (Ctrl+C in a terminal, a signal at logout), as
// WM_QUIT asks it on Windows: every modal loop of the UI thread ends, innermost first, its dialog
// destroyed (a dialog's run returns -1, a box's 0); no dialog or box opens any more; the
// application's own loop ends too, and CWinApp::ExitInstance gives the code. It lasts until the
// UI thread's renderer is installed anew or uninstalled.
#pragma once

#include <optional>

namespace win {

// Any thread. The first code posted is kept.
void PostQuitMessage(int exitCode);
// The code posted, or nothing.
std::optional<int> QuitPosted();

}  // namespace win
