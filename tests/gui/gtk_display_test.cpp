// The renderer's font measurement on a real display (run under with-xvfb).
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include "win/gtk/dialog_font.h"
#include "win/gtk/gtk_renderer.h"

namespace win::gtk {
namespace {

DialogFont ShellDlg9() {
    DialogFont font;
    font.face = u"MS Shell Dlg";
    font.pointSize = 9;
    return font;
}

TEST(DialogFontOnDisplay, ShellDlgNineMeasuresAboutSevenByFifteen) {
    const BaseUnits units = MeasureBaseUnits(ShellDlg9());
    EXPECT_GE(units.x, 6);
    EXPECT_LE(units.x, 8);
    EXPECT_GE(units.y, 14);
    EXPECT_LE(units.y, 16);
}

TEST(DialogFontOnDisplay, ALargerFontHasLargerBaseUnits) {
    DialogFont large = ShellDlg9();
    large.pointSize = 18;
    const BaseUnits nine = MeasureBaseUnits(ShellDlg9());
    const BaseUnits eighteen = MeasureBaseUnits(large);
    EXPECT_GT(eighteen.x, nine.x);
    EXPECT_GT(eighteen.y, nine.y);
}

TEST(DialogFontOnDisplay, RendererConvertsWithTheMeasuredUnits) {
    int argc = 1;
    char name[] = "gtk_display_tests";
    char* args[] = {name, nullptr};
    char** argv = args;
    std::unique_ptr<Renderer> renderer = CreateRenderer(argc, argv);
    ASSERT_NE(renderer, nullptr);
    const BaseUnits units = MeasureBaseUnits(ShellDlg9());
    // The main window's client area: 580 x 292 units.
    const RECT pixels = renderer->DialogUnitsToPixels(nullptr, RECT{0, 0, 580, 292});
    EXPECT_EQ(pixels.right, MulDiv(580, units.x, 4));
    EXPECT_EQ(pixels.bottom, MulDiv(292, units.y, 8));
}

}  // namespace
}  // namespace win::gtk

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!gtk_init_check(&argc, &argv)) {
        std::fprintf(stderr, "no display: run under with-xvfb\n");
        return 1;
    }
    return RUN_ALL_TESTS();
}
