// Modal runs, nested runs, and the scripted operator's failures instead of hangs.
#include <string>
#include <vector>

#include "win/headless/probe.h"
#include "win/input.h"
#include "win/message_box.h"
#include "win/quit.h"
#include "win_test_support.h"

namespace win::testing {
namespace {

using headless::Session;

TEST_F(SessionTest, AModalRunDisablesItsOwnerAndReturnsTheEndCode) {
    Recorder ownerRecorder;
    ownerRecorder.endOnOkCancel = false;
    const HWND owner =
        CreateDialogIndirectParamW(TestDialog(u"主窗口"), nullptr, ownerRecorder.Procedure());
    HWND seen = nullptr;
    session.ExpectDialog(u"子窗口")
        .Run([&](HWND dialog) {
            seen = dialog;
            EXPECT_FALSE(IsWindowEnabled(owner));
            EXPECT_TRUE(IsWindowVisible(dialog));
            EXPECT_EQ(FindWindow(dialog)->Owner(), owner);
        })
        .Type(kEditId, u"文字")
        .Press(input::Key::Enter);  // the default push button 1006 does not end it
    Recorder recorder;
    recorder.endOnOkCancel = false;
    auto procedure = [inner = recorder.Procedure()](HWND d, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_COMMAND && LOWORD(w) == kDefaultPushId) {
            EndDialog(d, 42);
        }
        return inner(d, m, w, l);
    };

    EXPECT_EQ(DialogBoxIndirectParamW(TestDialog(u"子窗口"), owner, procedure), 42);

    EXPECT_FALSE(IsWindow(seen));
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(recorder.commands, (std::vector<Command>{{kDefaultPushId, BN_CLICKED}}));
}

TEST_F(SessionTest, NestedRunsEachEndTheirOwnLoop) {
    INT_PTR innerResult = 0;
    HWND outer = nullptr;
    auto outerProcedure = [&](HWND d, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_COMMAND && LOWORD(w) == kPushId) {
            outer = d;
            Recorder inner;
            innerResult = DialogBoxIndirectParamW(TestDialog(u"内层"), d, inner.Procedure());
            EXPECT_TRUE(IsWindowEnabled(d)) << "the outer dialog is usable again";
            return 0;
        }
        if (m == WM_COMMAND && LOWORD(w) == IDCANCEL) {
            EndDialog(d, IDCANCEL);
        }
        return DefDlgProcW(d, m, w, l);
    };
    session.ExpectDialog(u"外层").Click(kPushId).Press(input::Key::Escape);
    session.ExpectDialog(u"内层")
        .Run([&](HWND) { EXPECT_FALSE(IsWindowEnabled(outer)); })
        .Press(input::Key::Escape);

    EXPECT_EQ(DialogBoxIndirectParamW(TestDialog(u"外层"), nullptr, outerProcedure), IDCANCEL);
    EXPECT_EQ(innerResult, IDCANCEL);
    ASSERT_EQ(session.Shown().size(), 2u);
    EXPECT_EQ(session.Shown()[1].caption, u"内层");
}

TEST_F(SessionTest, AQuitEndsTheModalLoopsInnermostFirstAndNoDialogOrBoxOpensAfterIt) {
    std::vector<std::string> afterInner;
    HWND inner = nullptr;
    auto outerProcedure = [&](HWND d, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_COMMAND && LOWORD(w) == kPushId) {
            Recorder recorder;
            const INT_PTR innerResult =
                DialogBoxIndirectParamW(TestDialog(u"内层"), d, recorder.Procedure());
            afterInner.push_back("inner " + std::to_string(innerResult));
            // What the handler tries next, as a tool's handler shows a message after a refusal.
            afterInner.push_back("box " +
                                 std::to_string(MessageBoxW(d, u"请先选择设备", nullptr, MB_OK)));
            afterInner.push_back("dialog " + std::to_string(DialogBoxIndirectParamW(
                                                 TestDialog(u"又一个"), d, recorder.Procedure())));
            return 0;
        }
        return DefDlgProcW(d, m, w, l);
    };
    session.ExpectDialog(u"外层").Click(kPushId);
    session.ExpectDialog(u"内层").Run([&](HWND dialog) {
        inner = dialog;
        PostQuitMessage(143);
    });

    EXPECT_EQ(DialogBoxIndirectParamW(TestDialog(u"外层"), nullptr, outerProcedure), -1);

    EXPECT_EQ(afterInner, (std::vector<std::string>{"inner -1", "box 0", "dialog -1"}));
    EXPECT_FALSE(IsWindow(inner));
    EXPECT_EQ(session.Shown().size(), 2u) << "nothing opened after the quit";
    EXPECT_TRUE(TopLevelWindows().empty());
    EXPECT_EQ(QuitPosted(), 143);
}

TEST_F(SessionTest, ADialogEndedInItsInitialisationIsNeverShown) {
    auto procedure = [](HWND d, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_INITDIALOG) {
            EndDialog(d, 7);
            return TRUE;
        }
        return DefDlgProcW(d, m, w, l);
    };
    EXPECT_EQ(DialogBoxIndirectParamW(TestDialog(), nullptr, procedure), 7);
    EXPECT_TRUE(session.Shown().empty());
}

TEST(QuitWithoutRenderer, IsForgottenWhenTheNextRendererIsInstalled) {
    {
        headless::Session first;
        PostQuitMessage(130);
        EXPECT_EQ(QuitPosted(), 130);
    }
    headless::Session second;
    EXPECT_FALSE(QuitPosted());
}

TEST(ModalRunWithoutRenderer, CannotRun) {
    EXPECT_EQ(DialogBoxIndirectParamW(TestDialog(), nullptr, nullptr), -1);
    EXPECT_TRUE(TopLevelWindows().empty());
}

// A session whose failures are collected instead of failing the test.
class FailingOperatorTest : public ::testing::Test {
  protected:
    std::vector<std::string> failures;
    std::unique_ptr<Session> session = std::make_unique<Session>(
        [this](const std::string& message) { failures.push_back(message); });

    bool Reported(const std::string& part) const {
        for (const std::string& failure : failures) {
            if (failure.find(part) != std::string::npos) {
                return true;
            }
        }
        return false;
    }
};

TEST_F(FailingOperatorTest, AnUnexpectedDialogFailsWithItsCaptionAndIsCancelled) {
    Recorder recorder;
    EXPECT_EQ(DialogBoxIndirectParamW(TestDialog(u"意外的对话框"), nullptr, recorder.Procedure()),
              IDCANCEL);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_TRUE(Reported("unexpected dialog \"意外的对话框\""));
}

TEST_F(FailingOperatorTest, ADialogLeftOpenWhenItsScriptRanOutFails) {
    session->ExpectDialog(u"测试对话框").Click(kPushId);
    Recorder recorder;
    EXPECT_EQ(DialogBoxIndirectParamW(TestDialog(), nullptr, recorder.Procedure()), IDCANCEL);
    EXPECT_EQ(recorder.commands, (std::vector<Command>{{kPushId, BN_CLICKED}}));
    EXPECT_TRUE(Reported("script ran out"));
}

TEST_F(FailingOperatorTest, AnUnexpectedBoxFailsWithItsTextAndGetsItsLastButton) {
    EXPECT_EQ(MessageBoxW(nullptr, u"要继续吗？", u"问题", MB_YESNO), IDNO);
    EXPECT_TRUE(Reported("unexpected message box \"问题\" with text \"要继续吗？\""));
}

TEST_F(FailingOperatorTest, StepsTheOperatorCannotDoAndStepsLeftOverAreReported) {
    session->ExpectDialog(u"测试对话框")
        .Click(kDisabledPushId)
        .Press(input::Key::Escape)
        .Click(kPushId);
    Recorder recorder;
    EXPECT_EQ(DialogBoxIndirectParamW(TestDialog(), nullptr, recorder.Procedure()), IDCANCEL);
    EXPECT_TRUE(Reported("could not click control 1005"));
    EXPECT_TRUE(Reported("closed with scripted steps left, the next: click control 1000"));
}

TEST_F(FailingOperatorTest, ExpectationsNeverMetAreReportedAtTheEnd) {
    session->ExpectBox(u"从未出现");
    session.reset();
    EXPECT_TRUE(Reported("expected message box with text \"从未出现\" was never shown"));
}

}  // namespace
}  // namespace win::testing
