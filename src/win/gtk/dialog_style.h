// The one style sheet of every dialog: the Chinese dialog font on all widgets, and controls
// that fit the small rectangles of dialog templates.
#pragma once

namespace win::gtk {

// Installs the style sheet on the default screen. Needs an open display; once is enough.
void InstallDialogStyle();

}  // namespace win::gtk
