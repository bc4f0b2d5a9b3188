// CRect: a RECT with its width and height.
#pragma once

#include "win/types.h"

class CRect : public win::RECT {
  public:
    CRect() : win::RECT{0, 0, 0, 0} {}
    CRect(int l, int t, int r, int b) : win::RECT{l, t, r, b} {}
    CRect(const win::RECT& rect) : win::RECT(rect) {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    operator win::RECT*() { return this; }
    operator const win::RECT*() const { return this; }
};
