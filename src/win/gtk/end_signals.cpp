#include "win/gtk/end_signals.h"

#include <glib-unix.h>

#include <csignal>

#include "win/quit.h"

namespace win::gtk {
namespace {

constexpr int kEndSignals[] = {SIGINT, SIGTERM, SIGHUP};
constexpr int kSignalExitBase = 128;

bool IgnoredAtStart(int signal) {
    struct sigaction current {};
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

}  // namespace

EndSignals::EndSignals() {
    for (int signal : kEndSignals) {
        if (IgnoredAtStart(signal)) {
            continue;
        }
        auto watch = std::make_unique<Watch>(Watch{this, signal});
        watch->source = g_unix_signal_add(signal, &EndSignals::OnSignal, watch.get());
        watches_.push_back(std::move(watch));
    }
}

EndSignals::~EndSignals() {
    StopWatching(nullptr);
}

void EndSignals::StopWatching(const Watch* keep) {
    for (const auto& watch : watches_) {
        if (watch.get() != keep) {
            g_source_remove(watch->source);
        }
        std::signal(watch->signal, SIG_DFL);
    }
    watches_.clear();
}

gboolean EndSignals::OnSignal(gpointer data) {
    auto* watch = static_cast<Watch*>(data);
    const int signal = watch->signal;
    // The watch goes with the others; its own source goes as this returns.
    watch->owner->StopWatching(watch);
    PostQuitMessage(kSignalExitBase + signal);
    return G_SOURCE_REMOVE;
}

}  // namespace win::gtk
