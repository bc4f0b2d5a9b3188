// One control line of a dialog template, written as the templates are tabled.
#pragma once

#include "win/dialog.h"

inline win::ControlTemplate TemplateControl(int id, win::WindowClass cls, win::DWORD style, int x,
                                            int y, int cx, int cy, const char16_t* text = u"") {
    win::ControlTemplate control;
    control.id = id;
    control.windowClass = cls;
    control.style = style;
    control.x = x;
    control.y = y;
    control.cx = cx;
    control.cy = cy;
    control.text = text;
    return control;
}
