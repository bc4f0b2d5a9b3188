// The context menu of an edit: the items a Chinese Windows edit offers, in place of GTK's own
// (which speaks the desktop's language and offers emoji).
#pragma once

#include <gtk/gtk.h>

namespace win::gtk {

// For the entry's "populate-popup": empties `popup` and fills it with 剪切 / 复制 / 粘贴 / 删除
// and 全选, each enabled as the entry's state allows. A popup that is no menu (GTK's touch
// bubble) is left alone.
void FillEditMenu(GtkEntry* entry, GtkWidget* popup);

}  // namespace win::gtk
