// Set while the renderer copies the model's state into GTK widgets. Signals that GTK emits
// meanwhile echo the model and must not come back to it as operator input.
#pragma once

namespace win::gtk {

class MirrorScope {
  public:
    MirrorScope();
    ~MirrorScope();
    MirrorScope(const MirrorScope&) = delete;
    MirrorScope& operator=(const MirrorScope&) = delete;

    static bool Active();
};

}  // namespace win::gtk
