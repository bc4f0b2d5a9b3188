// The system menu's About entry and the about box, other system commands, and the minimised
// window's icon: where it is painted and what it drags.
#include <algorithm>
#include <optional>

#include "main_dialog_fixture.h"
#include "win/dialog.h"
#include "win/paint.h"

namespace ui_test {
namespace {

using win::headless::Script;
using win::input::Key;

const std::u16string kAboutCaption = u"关于 TOOL";

struct AboutCase {
    const char* name;
    UINT command;
    void (*close)(Script& about);
};

class SystemCommandTest : public MainDialogFixture {
  protected:
    int AboutBoxesShown() const {
        return static_cast<int>(
            std::count_if(session.Shown().begin(), session.Shown().end(),
                          [](const auto& shown) { return shown.caption == kAboutCaption; }));
    }
};

class AboutBoxTest : public SystemCommandTest, public ::testing::WithParamInterface<AboutCase> {};

TEST_P(AboutBoxTest, OpensANewAboutBoxEveryTimeAndReturnsToTheMainWindow) {
    for (int time = 1; time <= 2; ++time) {
        Script& about = session.ExpectDialog(kAboutCaption).Run([](HWND box) {
            EXPECT_EQ(win::headless::FocusedId(box), IDOK);
        });
        GetParam().close(about);
        win::SendMessageW(hwnd, WM_SYSCOMMAND, GetParam().command, 0);
        EXPECT_EQ(AboutBoxesShown(), time);
        EXPECT_TRUE(win::IsWindowEnabled(hwnd));
        EXPECT_FALSE(opened->EndCode().has_value()) << "the main dialog stays open";
    }
    EXPECT_EQ(win::headless::FindShownWindow(kAboutCaption), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, AboutBoxTest,
    ::testing::Values(
        AboutCase{"EntryClosedWithOk", 0x10, [](Script& s) { s.Click(IDOK); }},
        AboutCase{"LowBitsSetClosedWithEnter", 0x1F, [](Script& s) { s.Press(Key::Enter); }},
        AboutCase{"EntryClosedWithEscape", 0x10, [](Script& s) { s.Press(Key::Escape); }},
        AboutCase{"LowBitsSetClosedWithTheCloseBox", 0x13, [](Script& s) { s.CloseBox(); }}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(SystemCommandTest, TheAboutEntryOfTheMenuOpensTheAboutBox) {
    session.ExpectDialog(kAboutCaption).Click(IDOK);
    ASSERT_TRUE(win::input::ChooseSystemMenuItem(hwnd, 16));
    EXPECT_EQ(AboutBoxesShown(), 1);
}

TEST_F(SystemCommandTest, MinimiseAndRestoreGoToTheDefaultHandling) {
    const std::size_t shownBefore = session.Shown().size();
    ASSERT_TRUE(win::input::ChooseSystemMenuItem(hwnd, SC_MINIMIZE));
    EXPECT_TRUE(win::IsIconic(hwnd));
    win::SendMessageW(hwnd, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(win::IsIconic(hwnd));
    EXPECT_EQ(session.Shown().size(), shownBefore) << "nothing opened";
    EXPECT_FALSE(opened->EndCode().has_value());
}

// The main dialog from a copy of its template with another size; with base units 4 x 8 a
// dialog unit is one pixel, so the client rectangle is cx x cy pixels.
constexpr int kResizedTemplateId = 0x7102;

class ResizedMainDialog : public CQuorvelDlg {
  public:
    ResizedMainDialog(int cx, int cy) {
        std::optional<win::DialogTemplate> resized = win::FindDialogTemplate(IDD_QUORVEL_DIALOG);
        if (resized) {
            resized->resourceId = kResizedTemplateId;
            resized->cx = cx;
            resized->cy = cy;
            win::RegisterDialogTemplate(*resized);
        }
        m_nIDTemplate = kResizedTemplateId;
    }
    // The worker calls through the object's virtual table: it ends before this part goes.
    ~ResizedMainDialog() override { Stop(); }
};

struct IconCase {
    const char* name;
    int clientWidth, clientHeight;
    int x, y;
};

class MinimisedPaintTest : public SessionFixture, public ::testing::WithParamInterface<IconCase> {
  protected:
    void SetUp() override { session.SetDialogBaseUnits(4, 8); }
};

TEST_P(MinimisedPaintTest, CentresTheIconWithTruncatingDivision) {
    const IconCase& c = GetParam();
    ResizedMainDialog dialog(c.clientWidth, c.clientHeight);
    afx::testing::OpenDialog opened(dialog);
    const HWND window = opened.Handle();
    ASSERT_NE(window, nullptr);
    RECT client{};
    ASSERT_TRUE(win::GetClientRect(window, &client));
    ASSERT_EQ(client.right, c.clientWidth);
    ASSERT_EQ(client.bottom, c.clientHeight);

    win::UpdateWindow(window);
    const std::vector<win::PaintOperation> normal = {{win::PaintKind::Background, 0, 0, nullptr}};
    EXPECT_EQ(win::LastPaint(window), normal) << "not minimised: the dialog's normal painting";

    win::SendMessageW(window, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    ASSERT_TRUE(win::IsIconic(window));
    win::UpdateWindow(window);
    const HICON icon = LoadIconW(nullptr, IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    const std::vector<win::PaintOperation> expected = {
        {win::PaintKind::IconBackground, 0, 0, nullptr},
        {win::PaintKind::Icon, c.x, c.y, icon},
    };
    EXPECT_EQ(win::LastPaint(window), expected);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MinimisedPaintTest,
                         ::testing::Values(IconCase{"Wide", 160, 28, 64, -1},
                                           IconCase{"JustNarrowerThanTheIcon", 30, 29, 0, -1},
                                           IconCase{"Square", 100, 100, 34, 34}),
                         [](const auto& param) { return std::string(param.param.name); });

using DragIconTest = MainDialogFixture;

TEST_F(DragIconTest, TheMinimisedWindowDragsItsOwnIcon) {
    win::SendMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    const HICON icon = LoadIconW(nullptr, IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(reinterpret_cast<HICON>(win::SendMessageW(hwnd, WM_QUERYDRAGICON, 0, 0)), icon);
}

}  // namespace
}  // namespace ui_test
