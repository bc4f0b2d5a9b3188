// The dialog manager: focus on opening, tab order, Enter, Esc, Space, the close box, Alt+F4 and
// the system menu's Close.
#include "win/headless/probe.h"
#include "win/input.h"
#include "win_test_support.h"

namespace win::testing {
namespace {

using headless::FocusedId;
using input::Key;

class DialogManagerTest : public SessionTest {
  protected:
    HWND Open(bool withDefaultButton = true) {
        recorder.endOnOkCancel = false;
        dialog = CreateDialogIndirectParamW(TestDialog(u"测试对话框", withDefaultButton), nullptr,
                                            recorder.Procedure());
        return dialog;
    }
    HWND Control(int id) const { return GetDlgItem(dialog, id); }

    Recorder recorder;
    HWND dialog = nullptr;
};

TEST_F(DialogManagerTest, OpensWithTheFocusOnTheFirstTabStop) {
    Open();
    EXPECT_EQ(FocusedId(dialog), kPushId);
}

TEST_F(DialogManagerTest, InitialisationReturningFalseLeavesTheFocusAlone) {
    recorder.initResult = FALSE;
    Open();
    EXPECT_EQ(FocusedId(dialog), 0);
}

TEST_F(DialogManagerTest, TabFollowsTemplateOrderSkippingDisabledControlsAndWraps) {
    Open();
    const std::vector<int> forward = {kEditId,        kListId,  kAddressId, kBoxId,
                                      kDefaultPushId, IDCANCEL, kPushId};
    for (int expected : forward) {
        ASSERT_TRUE(input::PressKey(dialog, Key::Tab));
        EXPECT_EQ(FocusedId(dialog), expected);
    }
    ASSERT_TRUE(input::PressKey(dialog, Key::ShiftTab));
    EXPECT_EQ(FocusedId(dialog), IDCANCEL);
}

struct EnterCase {
    const char* name;
    int focus;
    bool withDefaultButton;
    Command expected;
};

class EnterKeyTest : public DialogManagerTest, public ::testing::WithParamInterface<EnterCase> {};

TEST_P(EnterKeyTest, ClicksAFocusedPushButtonOtherwiseSendsTheDefaultId) {
    const EnterCase& c = GetParam();
    Open(c.withDefaultButton);
    SendMessageW(Control(kListId), LB_INSERTSTRING, static_cast<WPARAM>(-1),
                 reinterpret_cast<LPARAM>(u"第一行"));
    ASSERT_TRUE(input::SetFocus(Control(c.focus)));

    ASSERT_TRUE(input::PressKey(dialog, Key::Enter));

    EXPECT_EQ(recorder.commands, std::vector<Command>{c.expected});
    EXPECT_EQ(headless::CheckState(dialog, kBoxId), 0) << "Enter never toggles a box";
}

INSTANTIATE_TEST_SUITE_P(
    Focus, EnterKeyTest,
    ::testing::Values(EnterCase{"PushButton", kPushId, true, {kPushId, BN_CLICKED}},
                      EnterCase{"Cancel", IDCANCEL, true, {IDCANCEL, BN_CLICKED}},
                      EnterCase{"Edit", kEditId, true, {kDefaultPushId, BN_CLICKED}},
                      EnterCase{"List", kListId, true, {kDefaultPushId, BN_CLICKED}},
                      EnterCase{"Address", kAddressId, true, {kDefaultPushId, BN_CLICKED}},
                      EnterCase{"Box", kBoxId, true, {kDefaultPushId, BN_CLICKED}},
                      EnterCase{"EditNoDefault", kEditId, false, {IDOK, BN_CLICKED}},
                      EnterCase{"ListNoDefault", kListId, false, {IDOK, BN_CLICKED}},
                      EnterCase{"BoxNoDefault", kBoxId, false, {IDOK, BN_CLICKED}}),
    CaseName<EnterCase>);

struct CancelWay {
    const char* name;
    bool (*perform)(HWND dialog);
};

class CancelTest : public DialogManagerTest, public ::testing::WithParamInterface<CancelWay> {};

TEST_P(CancelTest, EndsWithCancelThroughTheDefaultHandling) {
    Open();
    ASSERT_TRUE(GetParam().perform(dialog));
    EXPECT_EQ(recorder.commands, (std::vector<Command>{{IDCANCEL, BN_CLICKED}}));
}

TEST_P(CancelTest, DoesNothingWhileCancelIsDisabled) {
    Open();
    EnableWindow(Control(IDCANCEL), FALSE);
    GetParam().perform(dialog);
    EXPECT_TRUE(recorder.commands.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CancelTest,
    ::testing::Values(CancelWay{"Escape", [](HWND d) { return input::PressKey(d, Key::Escape); }},
                      CancelWay{"CloseBox", [](HWND d) { return input::CloseBox(d); }},
                      CancelWay{"AltF4", [](HWND d) { return input::PressKey(d, Key::AltF4); }},
                      CancelWay{"SystemMenuClose",
                                [](HWND d) { return input::ChooseSystemMenuItem(d, SC_CLOSE); }}),
    CaseName<CancelWay>);

TEST_F(DialogManagerTest, SpaceClicksTheFocusedBox) {
    Open();
    ASSERT_TRUE(input::SetFocus(Control(kBoxId)));
    ASSERT_TRUE(input::PressKey(dialog, Key::Space));
    EXPECT_EQ(headless::CheckState(dialog, kBoxId), 1);
    EXPECT_EQ(recorder.commands, (std::vector<Command>{{kBoxId, BN_CLICKED}}));
}

TEST_F(DialogManagerTest, InputToADisabledControlOrDialogIsIgnored) {
    Open();
    EXPECT_FALSE(input::Click(Control(kDisabledPushId)));
    EnableWindow(dialog, FALSE);
    EXPECT_FALSE(input::Click(Control(kPushId)));
    EXPECT_FALSE(input::PressKey(dialog, Key::Enter));
    EXPECT_TRUE(recorder.commands.empty());
}

}  // namespace
}  // namespace win::testing
