// Where a window's frame goes on the screen, as plain arithmetic on rectangles in pixels.
#pragma once

namespace win::gtk {

struct ScreenPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ScreenPoint&) const = default;
};

struct ScreenBox {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    ScreenPoint Centre() const { return {x + width / 2, y + height / 2}; }
};

// The frame moved into the work area as far as it fits: first off the right and bottom edges,
// then off the left and top ones, so a frame larger than the work area keeps its top-left
// corner in view.
ScreenPoint KeptInWorkArea(ScreenPoint topLeft, int frameWidth, int frameHeight,
                           const ScreenBox& workArea);

// The top-left corner of a frame centred on `centre`, kept in the work area.
ScreenPoint CentredFrame(ScreenPoint centre, int frameWidth, int frameHeight,
                         const ScreenBox& workArea);

}  // namespace win::gtk
