// Times how long a window stays on the screen: watches the window and the frame a window manager
// put around it, prints "watching" once it does, then, when either leaves the screen (unmapped
// or destroyed), the milliseconds since it printed that.
//   window_gone <window id> <time-out in ms>
// Exits 1 when the window is still there after the time-out.
#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace {

// The window's ancestor just below the root: the frame under a window manager, else the window.
Window TopOf(Display* display, Window window) {
    for (;;) {
        Window root = 0;
        Window parent = 0;
        Window* children = nullptr;
        unsigned int count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
            return window;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root || parent == 0) {
            return window;
        }
        window = parent;
    }
}

bool Gone(const XEvent& event, Window window, Window frame) {
    if (event.type == UnmapNotify) {
        return event.xunmap.window == window || event.xunmap.window == frame;
    }
    if (event.type == DestroyNotify) {
        return event.xdestroywindow.window == window || event.xdestroywindow.window == frame;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: window_gone <window id> <time-out in ms>\n", stderr);
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const long timeoutMs = std::strtol(argv[2], nullptr, 10);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr || window == 0 || timeoutMs <= 0) {
        std::fputs("window_gone: no display, window or time-out\n", stderr);
        return 2;
    }
    const Window frame = TopOf(display, window);
    XSelectInput(display, window, StructureNotifyMask);
    if (frame != window) {
        XSelectInput(display, frame, StructureNotifyMask);
    }
    XWindowAttributes attributes{};
    // Selected before this look, so an unmap in between is not missed.
    if (XGetWindowAttributes(display, window, &attributes) == 0 ||
        attributes.map_state != IsViewable) {
        std::fputs("window_gone: the window is not on the screen\n", stderr);
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    std::puts("watching");
    std::fflush(stdout);

    const auto deadline = start + std::chrono::milliseconds(timeoutMs);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (Gone(event, window, frame)) {
                const auto elapsed = std::chrono::steady_clock::now() - start;
                std::printf("%.1f\n", std::chrono::duration<double, std::milli>(elapsed).count());
                return 0;
            }
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            std::puts("timeout");
            return 1;
        }
        poll(&connection, 1, static_cast<int>(left.count()));
    }
}
