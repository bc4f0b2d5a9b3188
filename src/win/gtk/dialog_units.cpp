#include "win/gtk/dialog_units.h"

#include <cstdint>

namespace win::gtk {

int MulDiv(int number, int numerator, int denominator) {
    if (denominator == 0) {
        return -1;
    }
    const std::int64_t product = static_cast<std::int64_t>(number) * numerator;
    const bool negative = (product < 0) != (denominator < 0);
    const std::int64_t magnitude = product < 0 ? -product : product;
    const std::int64_t divisor = denominator < 0 ? -static_cast<std::int64_t>(denominator)
                                                 : static_cast<std::int64_t>(denominator);
    const std::int64_t rounded = (magnitude + divisor / 2) / divisor;
    return static_cast<int>(negative ? -rounded : rounded);
}

BaseUnits BaseUnitsFromMeasurement(int alphabetWidth, int fontHeight) {
    return BaseUnits{(alphabetWidth / 26 + 1) / 2, fontHeight};
}

RECT MapDialogRect(RECT dialogUnits, BaseUnits base) {
    return RECT{MulDiv(dialogUnits.left, base.x, 4), MulDiv(dialogUnits.top, base.y, 8),
                MulDiv(dialogUnits.right, base.x, 4), MulDiv(dialogUnits.bottom, base.y, 8)};
}

}  // namespace win::gtk
