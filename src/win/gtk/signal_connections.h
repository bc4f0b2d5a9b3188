// Signal handlers that one view connected, disconnected together before the view goes, so no
// late signal reaches a deleted view.
#pragma once

#include <glib-object.h>

#include <utility>
#include <vector>

namespace win::gtk {

// Handlers are plain functions with GTK's signature for the signal.
template <typename Function>
GCallback Callback(Function* function) {
    return reinterpret_cast<GCallback>(function);
}

class SignalConnections {
  public:
    SignalConnections() = default;
    ~SignalConnections();
    SignalConnections(const SignalConnections&) = delete;
    SignalConnections& operator=(const SignalConnections&) = delete;

    // Keeps a reference on `instance` until the handler is disconnected.
    gulong Connect(gpointer instance, const char* signal, GCallback handler, gpointer data,
                   bool after = false);
    void DisconnectAll();

  private:
    std::vector<std::pair<GObject*, gulong>> connections_;
};

}  // namespace win::gtk
