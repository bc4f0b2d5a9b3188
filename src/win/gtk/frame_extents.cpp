#include "win/gtk/frame_extents.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <gdk/gdkx.h>

#include <algorithm>
#include <chrono>
#include <thread>

namespace win::gtk {
namespace {

// A window manager that claims the request answers within a millisecond or two; one that never
// does must not hold up the window for long.
constexpr auto kAnswerWait = std::chrono::milliseconds(100);
constexpr auto kPollInterval = std::chrono::milliseconds(1);
constexpr long kEdgeCount = 4;

std::optional<FrameEdges> ReadFrameExtents(Display* display, Window window, Atom property) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, kEdgeCount, False,
                                          XA_CARDINAL, &type, &format, &count, &after, &data);
    std::optional<FrameEdges> edges;
    if (status == Success && type == XA_CARDINAL && format == 32 &&
        count == static_cast<unsigned long>(kEdgeCount)) {
        // Format 32 comes as an array of long, whatever the width of long.
        const auto* values = reinterpret_cast<const long*>(data);
        edges = FrameEdges{static_cast<int>(values[0]), static_cast<int>(values[1]),
                           static_cast<int>(values[2]), static_cast<int>(values[3])};
    }
    if (data != nullptr) {
        XFree(data);
    }
    return edges;
}

}  // namespace

GdkRectangle ShownFrame(GdkWindow* window, FrameEdges& edges) {
    GdkRectangle frame;
    gdk_window_get_frame_extents(window, &frame);
    int x = 0;
    int y = 0;
    gdk_window_get_origin(window, &x, &y);
    const int width = gdk_window_get_width(window);
    const int height = gdk_window_get_height(window);
    edges = FrameEdges{x - frame.x, frame.x + frame.width - (x + width), y - frame.y,
                       frame.y + frame.height - (y + height)};
    return frame;
}

std::optional<FrameEdges> FutureFrame(GdkWindow* window) {
    if (window == nullptr || !GDK_IS_X11_WINDOW(window)) {
        return std::nullopt;
    }
    GdkScreen* screen = gdk_window_get_screen(window);
    if (!gdk_x11_screen_supports_net_wm_hint(
            screen, gdk_atom_intern_static_string("_NET_REQUEST_FRAME_EXTENTS"))) {
        return std::nullopt;
    }
    Display* display = GDK_WINDOW_XDISPLAY(window);
    const Window xid = GDK_WINDOW_XID(window);
    const Atom extents = XInternAtom(display, "_NET_FRAME_EXTENTS", False);
    // An answer left from an earlier request would describe the hints of then.
    XDeleteProperty(display, xid, extents);

    XEvent request{};
    request.xclient.type = ClientMessage;
    request.xclient.window = xid;
    request.xclient.message_type = XInternAtom(display, "_NET_REQUEST_FRAME_EXTENTS", False);
    request.xclient.format = 32;
    XSendEvent(display, GDK_WINDOW_XID(gdk_screen_get_root_window(screen)), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &request);
    XFlush(display);

    // The window manager counts in the display's pixels, GDK in the window's (GDK_SCALE).
    const int scale = std::max(gdk_window_get_scale_factor(window), 1);
    const auto deadline = std::chrono::steady_clock::now() + kAnswerWait;
    do {
        if (std::optional<FrameEdges> edges = ReadFrameExtents(display, xid, extents)) {
            return FrameEdges{edges->left / scale, edges->right / scale, edges->top / scale,
                              edges->bottom / scale};
        }
        std::this_thread::sleep_for(kPollInterval);
    } while (std::chrono::steady_clock::now() < deadline);
    return std::nullopt;
}

}  // namespace win::gtk
