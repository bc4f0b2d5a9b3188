// SIGINT (Ctrl+C in the terminal), SIGTERM and SIGHUP (the session's end) end the program as
// closing its window does, through the main loop and never inside the signal handler: they post
// the window system's quit (win/quit.h) with the status a shell shows for a signal, 128 + its
// number. A signal the program was started with ignored (nohup, a script's background job) stays
// ignored. Once one has come, or once the renderer has gone, the next ends the program at once,
// as it would without this.
#pragma once

#include <glib.h>

#include <memory>
#include <vector>

namespace win::gtk {

class EndSignals {
  public:
    EndSignals();
    ~EndSignals();
    EndSignals(const EndSignals&) = delete;
    EndSignals& operator=(const EndSignals&) = delete;

  private:
    struct Watch {
        EndSignals* owner;
        int signal;
        guint source = 0;
    };
    static gboolean OnSignal(gpointer watch);
    // Removes every watch but `keep`, and gives each signal its default action back.
    void StopWatching(const Watch* keep);

    std::vector<std::unique_ptr<Watch>> watches_;
};

}  // namespace win::gtk
