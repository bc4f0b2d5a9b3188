#include "win/gtk/mirror_scope.h"

namespace win::gtk {
namespace {

// The UI thread is the only one that touches GTK.
int depth = 0;

}  // namespace

MirrorScope::MirrorScope() {
    ++depth;
}
MirrorScope::~MirrorScope() {
    --depth;
}
bool MirrorScope::Active() {
    return depth > 0;
}

}  // namespace win::gtk
