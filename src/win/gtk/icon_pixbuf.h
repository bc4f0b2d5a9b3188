// Icons of the model as GdkPixbufs.
#pragma once

#include <gdk-pixbuf/gdk-pixbuf.h>

#include "win/types.h"

namespace win::gtk {

// A new pixbuf with the icon's RGBA pixels (the caller owns the reference), or null when the
// icon is unknown or empty.
GdkPixbuf* PixbufFromIcon(HICON icon);

}  // namespace win::gtk
