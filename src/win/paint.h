// Painting. There are no pixels in the model: a paint device context records what was drawn,
// and the window keeps the record of its last finished paint for renderers and tests.
#pragma once

#include <vector>

#include "win/types.h"

namespace win {

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    RECT rcPaint{};
};

HDC BeginPaint(HWND window, PAINTSTRUCT* paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
// Draws the icon with its upper left corner at x, y (recorded).
BOOL DrawIcon(HDC dc, int x, int y, HICON icon);

enum class PaintKind {
    Background,      // the window's normal painting (the default WM_PAINT)
    IconBackground,  // the background behind a minimised window's icon (WM_ICONERASEBKGND)
    Icon,            // DrawIcon
};

struct PaintOperation {
    PaintKind kind = PaintKind::Background;
    int x = 0;
    int y = 0;
    HICON icon = nullptr;
    bool operator==(const PaintOperation&) const = default;
};

// What the window's last finished paint drew, in order. UI thread only.
std::vector<PaintOperation> LastPaint(HWND window);

}  // namespace win
