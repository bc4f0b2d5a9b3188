// The quit's state belongs to one run of the UI thread.
#pragma once

namespace win::detail {

// Called when a renderer is installed or uninstalled.
void ForgetQuit();

}  // namespace win::detail
