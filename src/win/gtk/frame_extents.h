// The frame a window manager puts around a top-level window.
#pragma once

#include <gtk/gtk.h>

#include <optional>

namespace win::gtk {

struct FrameEdges {
    int left = 0;
    int right = 0;
    int top = 0;
    int bottom = 0;
};

// A window on the screen: its frame as drawn, and the frame's edges around its client area.
GdkRectangle ShownFrame(GdkWindow* window, FrameEdges& edges);

// A realized window not shown yet: the frame the window manager will give it, for its hints as
// they are now, where the window manager tells (X11, _NET_REQUEST_FRAME_EXTENTS). Waits at most
// 100 ms for the answer.
std::optional<FrameEdges> FutureFrame(GdkWindow* window);

}  // namespace win::gtk
