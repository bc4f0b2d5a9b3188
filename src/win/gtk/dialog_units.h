// Dialog units to pixels, as the Windows dialog manager converts them: from the base units of the
// dialog's font (average width of A-Z a-z / 52, and the font height).
#pragma once

#include "win/types.h"

namespace win::gtk {

struct BaseUnits {
    int x = 0;
    int y = 0;
};

// number * numerator / denominator, rounded half away from zero; -1 when denominator is 0.
int MulDiv(int number, int numerator, int denominator);

// Base units from a measurement of the font: the pixel width of the 52 letters A-Z a-z and the
// font height. The width is halved with rounding, as Windows does, not divided by 52 directly.
BaseUnits BaseUnitsFromMeasurement(int alphabetWidth, int fontHeight);

// Each edge on its own: 1 DLU = base x / 4 horizontally and base y / 8 vertically.
RECT MapDialogRect(RECT dialogUnits, BaseUnits base);

}  // namespace win::gtk
