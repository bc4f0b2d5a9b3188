// The GTK 3 renderer: the model's windows as real windows on the X display.
#pragma once

#include <memory>

#include "win/renderer.h"

namespace win::gtk {

// Opens the display (GTK takes its own options out of argc/argv). When there is none, says so
// on standard error and returns null; the program then ends with a failure. While the renderer
// exists, SIGINT, SIGTERM and SIGHUP end the program through its loop (end_signals.h).
std::unique_ptr<Renderer> CreateRenderer(int& argc, char**& argv);

}  // namespace win::gtk
