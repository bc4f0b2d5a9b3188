#include "win/gtk/placement_geometry.h"

#include <algorithm>

namespace win::gtk {

ScreenPoint KeptInWorkArea(ScreenPoint topLeft, int frameWidth, int frameHeight,
                           const ScreenBox& workArea) {
    ScreenPoint kept = topLeft;
    kept.x = std::min(kept.x, workArea.x + workArea.width - frameWidth);
    kept.y = std::min(kept.y, workArea.y + workArea.height - frameHeight);
    kept.x = std::max(kept.x, workArea.x);
    kept.y = std::max(kept.y, workArea.y);
    return kept;
}

ScreenPoint CentredFrame(ScreenPoint centre, int frameWidth, int frameHeight,
                         const ScreenBox& workArea) {
    return KeptInWorkArea({centre.x - frameWidth / 2, centre.y - frameHeight / 2}, frameWidth,
                          frameHeight, workArea);
}

}  // namespace win::gtk
