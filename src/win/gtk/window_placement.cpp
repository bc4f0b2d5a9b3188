#include "win/gtk/window_placement.h"

#include <gdk/gdkx.h>

#include <optional>

#include "win/gtk/frame_extents.h"

namespace win::gtk {
namespace {

GdkWindow* MappedWindowOf(GtkWindow* window) {
    GdkWindow* gdkWindow = window != nullptr ? gtk_widget_get_window(GTK_WIDGET(window)) : nullptr;
    return gdkWindow != nullptr && gdk_window_is_visible(gdkWindow) ? gdkWindow : nullptr;
}

ScreenPoint ClientOrigin(GdkWindow* window) {
    ScreenPoint origin;
    gdk_window_get_origin(window, &origin.x, &origin.y);
    return origin;
}

GdkMonitor* MonitorOf(GdkWindow* owner) {
    GdkDisplay* display = gdk_display_get_default();
    if (owner != nullptr) {
        return gdk_display_get_monitor_at_window(display, owner);
    }
    GdkMonitor* primary = gdk_display_get_primary_monitor(display);
    return primary != nullptr ? primary : gdk_display_get_monitor(display, 0);
}

ScreenBox WorkArea(GdkMonitor* monitor) {
    GdkRectangle area{0, 0, 0, 0};
    if (monitor != nullptr) {
        gdk_monitor_get_workarea(monitor, &area);
    }
    return ScreenBox{area.x, area.y, area.width, area.height};
}

ScreenPoint Pointer() {
    ScreenPoint at;
    GdkSeat* seat = gdk_display_get_default_seat(gdk_display_get_default());
    if (GdkDevice* pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr) {
        gdk_device_get_position(pointer, nullptr, &at.x, &at.y);
    }
    return at;
}

}  // namespace

void PlaceOnScreen(GtkWindow* window, const PlacementRequest& request) {
    if (!GDK_IS_X11_DISPLAY(gdk_display_get_default())) {
        return;
    }
    GdkWindow* owner = request.ownerShown ? MappedWindowOf(request.owner) : nullptr;
    FrameEdges ownerEdges;
    ScreenBox ownerFrame;
    if (owner != nullptr) {
        const GdkRectangle frame = ShownFrame(owner, ownerEdges);
        ownerFrame = ScreenBox{frame.x, frame.y, frame.width, frame.height};
    }
    // The frame this window will get, where the window manager tells; else the owner's is the
    // best guess.
    FrameEdges edges = ownerEdges;
    if (GdkWindow* shown = MappedWindowOf(window)) {
        ShownFrame(shown, edges);
    } else if (std::optional<FrameEdges> future =
                   FutureFrame(gtk_widget_get_window(GTK_WIDGET(window)))) {
        edges = *future;
    }
    const int frameWidth = request.clientWidth + edges.left + edges.right;
    const int frameHeight = request.clientHeight + edges.top + edges.bottom;
    ScreenBox area = WorkArea(MonitorOf(owner));

    ScreenPoint topLeft;
    const ScreenPoint at = request.templatePosition;
    switch (request.rule) {
        case Placement::TemplatePosition: {
            const ScreenPoint origin = owner != nullptr ? ClientOrigin(owner) : ScreenPoint{};
            topLeft =
                KeptInWorkArea({origin.x + at.x, origin.y + at.y}, frameWidth, frameHeight, area);
            break;
        }
        case Placement::ScreenPosition:
            topLeft = KeptInWorkArea(at, frameWidth, frameHeight, area);
            break;
        case Placement::CentredOnWorkArea:
            topLeft = CentredFrame(area.Centre(), frameWidth, frameHeight, area);
            break;
        case Placement::CentredOnPointer: {
            const ScreenPoint pointer = Pointer();
            area = WorkArea(
                gdk_display_get_monitor_at_point(gdk_display_get_default(), pointer.x, pointer.y));
            topLeft = CentredFrame(pointer, frameWidth, frameHeight, area);
            break;
        }
        case Placement::CentredOverOwner:
            topLeft = CentredFrame(owner != nullptr ? ownerFrame.Centre() : area.Centre(),
                                   frameWidth, frameHeight, area);
            break;
    }
    // North-west gravity: the window manager puts the frame's top-left corner where the window
    // was asked to be.
    gtk_window_set_gravity(window, GDK_GRAVITY_NORTH_WEST);
    gtk_window_move(window, topLeft.x, topLeft.y);
}

}  // namespace win::gtk
