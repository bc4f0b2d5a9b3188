// Check boxes, list boxes, edits and window texts.
#include "win/headless/probe.h"
#include "win/input.h"
#include "win/window.h"
#include "win_test_support.h"

namespace win::testing {
namespace {

class ControlsTest : public SessionTest {
  protected:
    void SetUp() override {
        recorder.endOnOkCancel = false;
        dialog = CreateDialogIndirectParamW(TestDialog(), nullptr, recorder.Procedure());
    }
    HWND Control(int id) const { return GetDlgItem(dialog, id); }
    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageW(Control(id), message, wParam, lParam);
    }
    void Insert(int index, const char16_t* text) {
        Send(kListId, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    }
    std::vector<std::u16string> Lines() const { return headless::ListLines(dialog, kListId); }

    Recorder recorder;
    HWND dialog = nullptr;
};

TEST_F(ControlsTest, ABoxSetFromCodeTellsNobodyAClickFlipsItFirst) {
    Send(kBoxId, BM_SETCHECK, BST_CHECKED);
    EXPECT_EQ(Send(kBoxId, BM_GETCHECK), BST_CHECKED);
    EXPECT_TRUE(recorder.commands.empty());

    // The dialog reads the new state inside its BN_CLICKED handler.
    LRESULT stateSeenByHandler = -1;
    WindowProcedure previous;
    const CloseOnExit closer{dialog};
    previous = SubclassWindow(dialog, [&](HWND d, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_COMMAND && LOWORD(w) == kBoxId) {
            stateSeenByHandler = Send(kBoxId, BM_GETCHECK);
        }
        return CallWindowProcW(previous, d, m, w, l);
    });
    ASSERT_TRUE(input::Click(Control(kBoxId)));
    EXPECT_EQ(stateSeenByHandler, BST_UNCHECKED);
    EXPECT_EQ(recorder.commands, (std::vector<Command>{{kBoxId, BN_CLICKED}}));
    EXPECT_EQ(headless::FocusedId(dialog), kBoxId);
}

TEST_F(ControlsTest, LinesStayAtTheirIndexWhateverTheSortStyle) {
    Insert(-1, u"3 c");
    Insert(-1, u"1 a");
    Insert(0, u"2 b");
    Insert(3, u"4 d");
    EXPECT_EQ(Lines(), (std::vector<std::u16string>{u"2 b", u"3 c", u"1 a", u"4 d"}));
    EXPECT_EQ(Send(kListId, LB_INSERTSTRING, 9, reinterpret_cast<LPARAM>(u"x")), LB_ERR);
    EXPECT_EQ(Send(kListId, LB_GETCOUNT), 4);

    char16_t buffer[16] = {};
    EXPECT_EQ(Send(kListId, LB_GETTEXTLEN, 2), 3);
    EXPECT_EQ(Send(kListId, LB_GETTEXT, 2, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_EQ(std::u16string(buffer), u"1 a");
    EXPECT_EQ(Send(kListId, LB_GETTEXT, 4, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
    EXPECT_EQ(Send(kListId, LB_GETTEXTLEN, -1), LB_ERR);
}

TEST_F(ControlsTest, SelectionFromCodeNotifiesNobodyAndResetClearsIt) {
    Insert(-1, u"a");
    Insert(-1, u"b");
    EXPECT_EQ(Send(kListId, LB_GETCURSEL), LB_ERR);
    EXPECT_EQ(Send(kListId, LB_SETCURSEL, 1), 1);
    EXPECT_EQ(Send(kListId, LB_GETCURSEL), 1);
    Insert(0, u"z");  // the selected line moves down and stays selected
    EXPECT_EQ(Send(kListId, LB_GETCURSEL), 2);
    Insert(-1, u"after");
    EXPECT_EQ(Send(kListId, LB_GETCURSEL), 2);
    EXPECT_EQ(Send(kListId, LB_SETCURSEL, 7), LB_ERR);
    EXPECT_EQ(Send(kListId, LB_GETCURSEL), 2);

    Send(kListId, LB_RESETCONTENT);
    EXPECT_EQ(Send(kListId, LB_GETCOUNT), 0);
    EXPECT_EQ(Send(kListId, LB_GETCURSEL), LB_ERR);
    EXPECT_TRUE(recorder.commands.empty());
}

TEST_F(ControlsTest, TheOperatorsSelectionNotifiesOnceAndADoubleClickSelectsFirst) {
    Insert(-1, u"a");
    Insert(-1, u"b");
    ASSERT_TRUE(input::SelectLine(Control(kListId), 1));
    ASSERT_TRUE(input::SelectLine(Control(kListId), 1));  // no change: no notification
    ASSERT_TRUE(input::DoubleClickLine(Control(kListId), 0));
    EXPECT_EQ(recorder.commands,
              (std::vector<Command>{
                  {kListId, LBN_SELCHANGE}, {kListId, LBN_SELCHANGE}, {kListId, LBN_DBLCLK}}));
    EXPECT_EQ(Send(kListId, LB_GETCURSEL), 0);
    EXPECT_FALSE(input::SelectLine(Control(kListId), 2));
}

TEST_F(ControlsTest, EveryClickOnALineNotifiesAndTheSecondClickOfADoubleClickOnlyDoubleClicks) {
    Insert(-1, u"a");
    Insert(-1, u"b");
    ASSERT_TRUE(input::ClickLine(Control(kListId), 1));
    ASSERT_TRUE(input::ClickLine(Control(kListId), 1));  // the selected line again
    ASSERT_TRUE(input::SecondClickOnLine(Control(kListId), 1));
    EXPECT_FALSE(input::SecondClickOnLine(Control(kListId), 0));  // not the selected line
    EXPECT_EQ(recorder.commands,
              (std::vector<Command>{
                  {kListId, LBN_SELCHANGE}, {kListId, LBN_SELCHANGE}, {kListId, LBN_DBLCLK}}));
    EXPECT_EQ(Send(kListId, LB_GETCURSEL), 1);
}

TEST_F(ControlsTest, PasswordEditsMaskUntilTheCharacterIsZero) {
    DialogTemplate withPassword = TestDialog(u"密码");
    withPassword.controls.push_back(ControlTemplate{
        1025, WindowClass::Edit, kChild | WS_TABSTOP | ES_PASSWORD, 0, 0, 0, 80, 14, u"", 0});
    const HWND other = CreateDialogIndirectParamW(withPassword, nullptr, nullptr);
    const HWND edit = GetDlgItem(other, 1025);
    EXPECT_EQ(headless::PasswordChar(other, 1025), u'\u25CF');
    EXPECT_EQ(headless::PasswordChar(other, kEditId), 0);
    ASSERT_TRUE(input::SetText(edit, u"秘密pw"));
    SendMessageW(edit, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(headless::PasswordChar(other, 1025), 0);
    SendMessageW(edit, EM_SETPASSWORDCHAR, u'*', 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETPASSWORDCHAR, 0, 0), u'*');
    EXPECT_EQ(GetWindowTextString(edit), u"秘密pw");
}

TEST_F(ControlsTest, WindowTextIsCutToTheBufferAndReadOnlyEditsRefuseTheOperator) {
    SetWindowTextW(Control(kEditId), u"abcdef");
    char16_t buffer[4] = {u'x', u'x', u'x', u'x'};
    EXPECT_EQ(GetWindowTextW(Control(kEditId), buffer, 4), 3);
    EXPECT_EQ(std::u16string(buffer), u"abc");
    EXPECT_EQ(GetWindowTextLengthW(Control(kEditId)), 6);

    DialogTemplate readOnly = TestDialog(u"只读");
    readOnly.controls[2].style |= ES_READONLY;
    const HWND other = CreateDialogIndirectParamW(readOnly, nullptr, nullptr);
    EXPECT_FALSE(input::SetText(GetDlgItem(other, kEditId), u"typed"));
    EXPECT_TRUE(SetWindowTextW(GetDlgItem(other, kEditId), u"from code"));
    EXPECT_EQ(headless::ShownText(other, kEditId), u"from code");
}

TEST_F(ControlsTest, EnablingSendsWmEnableAndReportsThePreviousState) {
    std::vector<WPARAM> enableMessages;
    const HWND edit = Control(kEditId);
    WindowProcedure previous;
    const CloseOnExit closer{dialog};
    previous = SubclassWindow(edit, [&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_ENABLE) {
            enableMessages.push_back(w);
        }
        return CallWindowProcW(previous, h, m, w, l);
    });
    EXPECT_FALSE(EnableWindow(edit, FALSE));
    EXPECT_TRUE(EnableWindow(edit, FALSE));
    EXPECT_TRUE(EnableWindow(edit, TRUE));
    EXPECT_EQ(enableMessages, (std::vector<WPARAM>{FALSE, TRUE}));
    EXPECT_TRUE(IsWindowEnabled(edit));
}

TEST_F(ControlsTest, HandlesOfDestroyedWindowsNeverComeBack) {
    const HWND edit = Control(kEditId);
    ASSERT_TRUE(DestroyWindow(dialog));
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_FALSE(IsWindow(edit));
    EXPECT_EQ(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0), 0);
    const HWND next = CreateDialogIndirectParamW(TestDialog(), nullptr, nullptr);
    EXPECT_NE(next, dialog);
    for (HWND child : FindWindow(next)->Children()) {
        EXPECT_NE(child, edit);
    }
}

}  // namespace
}  // namespace win::testing
