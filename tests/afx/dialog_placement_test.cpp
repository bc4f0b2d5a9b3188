// Where the dialogs the class library runs appear: centred over the owner the run disables, or on
// the work area without one, unless the template or the dialog itself says otherwise.
#include <optional>

#include "afx/testing/open_dialog.h"
#include "afx_test_support.h"
#include "win/input.h"

namespace afx_test {
namespace {

using win::Placement;

constexpr UINT kPlacedTemplate = 9101;  // "自定位": OK only; the style under test

void RegisterPlacedTemplate(DWORD placementStyle) {
    win::DialogTemplate placed = *win::FindDialogTemplate(kSmallTemplate);
    placed.resourceId = kPlacedTemplate;
    placed.caption = u"自定位";
    placed.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | placementStyle;
    win::RegisterDialogTemplate(placed);
}

Placement PlacementOf(HWND window) {
    return win::FindWindow(window)->InitialPlacement();
}

// `showItself`: shows its window from OnInitDialog.
class CPlacedDlg : public CDialog {
  public:
    explicit CPlacedDlg(UINT templateId, bool showItself = false)
        : CDialog(templateId), showItself_(showItself) {}

    BOOL OnInitDialog() override {
        CDialog::OnInitDialog();
        if (showItself_) {
            ShowWindow(SW_SHOW);
        }
        return TRUE;
    }

  private:
    bool showItself_;
};

class DialogPlacementTest : public AfxTest {
  protected:
    // Runs the dialog modally; the rule its window had while it was open.
    std::optional<Placement> RunAndSee(CDialog& dialog, const char16_t* caption) {
        std::optional<Placement> seen;
        session.ExpectDialog(caption)
            .Run([&](HWND window) { seen = PlacementOf(window); })
            .Press(win::input::Key::Escape);
        dialog.DoModal();
        return seen;
    }
};

TEST_F(DialogPlacementTest, TheMainWindowItsModalDialogsAndItsBoxesAreCentred) {
    CWinApp app;
    CDialog main(kFormTemplate);
    app.m_pMainWnd = &main;
    session.ExpectDialog(u"表单")
        .Run([&](HWND window) {
            EXPECT_EQ(PlacementOf(window), Placement::CentredOverOwner) << "no owner: work area";
            CPlacedDlg modal(kSmallTemplate);
            EXPECT_EQ(RunAndSee(modal, u"小窗口"), Placement::CentredOverOwner);
            session.ExpectBox(u"设备ID不能为空")
                .Run([&](HWND box) { EXPECT_EQ(PlacementOf(box), Placement::CentredOverOwner); })
                .Answer(IDOK);
            main.MessageBox(u"设备ID不能为空");
        })
        .Press(win::input::Key::Escape);
    main.DoModal();
    app.m_pMainWnd = nullptr;
}

TEST_F(DialogPlacementTest, ADialogWhoseOwnerStaysUsableKeepsItsTemplatePosition) {
    CDialog owner(kFormTemplate);
    afx::testing::OpenDialog openOwner(owner);
    CDialog modeless(kSmallTemplate, &owner);
    ASSERT_TRUE(modeless.Create());
    EXPECT_EQ(PlacementOf(modeless.GetSafeHwnd()), Placement::TemplatePosition);
    modeless.DestroyWindow();
}

TEST_F(DialogPlacementTest, ADialogThatShowedItselfWhileItInitialisedStaysWhereItIs) {
    CPlacedDlg hidden(kSmallTemplate);
    afx::testing::OpenDialog openHidden(hidden);
    EXPECT_EQ(PlacementOf(hidden.GetSafeHwnd()), Placement::CentredOverOwner);
    CPlacedDlg shown(kSmallTemplate, true);
    afx::testing::OpenDialog openShown(shown);
    EXPECT_EQ(PlacementOf(shown.GetSafeHwnd()), Placement::TemplatePosition);
}

struct StyleCase {
    const char* name;
    DWORD style;
    Placement placement;
};

class TemplatePlacementTest : public DialogPlacementTest,
                              public ::testing::WithParamInterface<StyleCase> {};

TEST_P(TemplatePlacementTest, ATemplateThatPlacesItsDialogIsNotCentredOverTheOwner) {
    RegisterPlacedTemplate(GetParam().style);
    CPlacedDlg dialog(kPlacedTemplate);
    EXPECT_EQ(RunAndSee(dialog, u"自定位"), GetParam().placement);
}

INSTANTIATE_TEST_SUITE_P(
    Styles, TemplatePlacementTest,
    ::testing::Values(StyleCase{"Center", DS_CENTER, Placement::CentredOnWorkArea},
                      StyleCase{"CenterMouse", DS_CENTERMOUSE, Placement::CentredOnPointer},
                      StyleCase{"AbsAlign", DS_ABSALIGN, Placement::ScreenPosition}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace afx_test
