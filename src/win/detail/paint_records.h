// The records of open paint device contexts. UI thread only.
#pragma once

#include "win/paint.h"

namespace win::detail {

// Adds an operation to an open paint context; false when `dc` is not one.
bool RecordPaint(HDC dc, const PaintOperation& operation);

}  // namespace win::detail
