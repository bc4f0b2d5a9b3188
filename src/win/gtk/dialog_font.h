// The font a dialog template names, as it is shown here, and its base units.
#pragma once

#include <string>

#include "win/gtk/dialog_units.h"
#include "win/window.h"

namespace win::gtk {

// The templates' "MS Shell Dlg" (and the other Windows dialog faces) stand for the Chinese
// system font; any other face is asked for by its own name.
inline constexpr const char* kChineseDialogFamily = "WenQuanYi Micro Hei";
std::string FontFamilyFor(const std::u16string& templateFace);

// Base units of the font measured with Pango on the default screen, cached per font.
// Needs an open display.
BaseUnits MeasureBaseUnits(const DialogFont& font);

}  // namespace win::gtk
