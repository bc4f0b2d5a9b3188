// Where a frame goes: centred where there is room, moved into the work area where there is not.
#include <gtest/gtest.h>

#include "win/gtk/placement_geometry.h"

namespace win::gtk {
namespace {

// A work area below a 30-pixel panel on a 1280 x 1024 screen.
constexpr ScreenBox kWorkArea{0, 30, 1280, 994};

struct CentringCase {
    const char* name;
    ScreenPoint centre;
    int width;
    int height;
    ScreenPoint topLeft;
};

class CentredFrameTest : public ::testing::TestWithParam<CentringCase> {};

TEST_P(CentredFrameTest, LiesOnTheCentreAsFarAsTheWorkAreaLetsIt) {
    const CentringCase& c = GetParam();
    EXPECT_EQ(CentredFrame(c.centre, c.width, c.height, kWorkArea), c.topLeft);
}

INSTANTIATE_TEST_SUITE_P(
    Frames, CentredFrameTest,
    ::testing::Values(CentringCase{"Inside", {640, 527}, 391, 299, {445, 378}},
                      // The centre of the main window of an odd size, on the work area's centre.
                      CentringCase{"OddSize", kWorkArea.Centre(), 1017, 569, {132, 243}},
                      CentringCase{
                          "PastTheRightAndBottomEdges", {1200, 1000}, 391, 299, {889, 725}},
                      CentringCase{"UnderThePanel", {100, 40}, 391, 299, {0, 30}},
                      // Larger than the work area: its top-left corner stays in view.
                      CentringCase{"LargerThanTheWorkArea", {640, 527}, 1400, 1100, {0, 30}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST(KeptInWorkArea, LeavesAFrameThatFitsWhereItIs) {
    EXPECT_EQ(KeptInWorkArea({20, 50}, 391, 299, kWorkArea), (ScreenPoint{20, 50}));
    EXPECT_EQ(KeptInWorkArea({-5, 1000}, 391, 299, kWorkArea), (ScreenPoint{0, 725}));
}

}  // namespace
}  // namespace win::gtk
