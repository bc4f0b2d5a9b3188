// The views of the windows that exist, by handle. A signal handler that gave input to the model
// finds its view here again afterwards: the input may have destroyed it.
#pragma once

#include "win/types.h"

namespace win::gtk {

class ControlView;
class TopLevelView;

void RegisterControlView(HWND handle, ControlView* view);
void RegisterTopLevelView(HWND handle, TopLevelView* view);
void UnregisterView(HWND handle);

ControlView* FindControlView(HWND handle);
TopLevelView* FindTopLevelView(HWND handle);

}  // namespace win::gtk
