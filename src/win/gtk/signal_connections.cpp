#include "win/gtk/signal_connections.h"

namespace win::gtk {

SignalConnections::~SignalConnections() {
    DisconnectAll();
}

gulong SignalConnections::Connect(gpointer instance, const char* signal, GCallback handler,
                                  gpointer data, bool after) {
    GObject* object = static_cast<GObject*>(instance);
    const gulong id = g_signal_connect_data(object, signal, handler, data, nullptr,
                                            after ? G_CONNECT_AFTER : GConnectFlags{});
    g_object_ref(object);
    connections_.emplace_back(object, id);
    return id;
}

void SignalConnections::DisconnectAll() {
    for (auto& [object, id] : connections_) {
        g_signal_handler_disconnect(object, id);
        g_object_unref(object);
    }
    connections_.clear();
}

}  // namespace win::gtk
