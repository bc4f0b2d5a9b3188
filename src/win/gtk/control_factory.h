// The view for a control of the model, by its window class.
#pragma once

#include <memory>

#include "win/gtk/control_view.h"

namespace win::gtk {

// Null for a window that is no control (a dialog).
std::unique_ptr<ControlView> CreateControlView(HWND handle, const Window& model);

}  // namespace win::gtk
