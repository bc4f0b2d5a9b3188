// Message boxes from the UI thread (modal, nested loop) and from another thread (no loop of its
// own; the caller waits, and is released when it is ended).
#include <atomic>
#include <string>

#include "win/headless/probe.h"
#include "win/input.h"
#include "win/message_box.h"
#include "win/window.h"
#include "win_test_support.h"
#include "worker_thread.h"

namespace win::testing {
namespace {

using headless::BoxText;
using headless::Caption;
using input::Key;

class MessageBoxTest : public SessionTest {
  protected:
    void SetUp() override { SetApplicationName(u"quorvel"); }
    void TearDown() override { SetApplicationName(u""); }

    HWND OpenOwner() {
        owner = CreateDialogIndirectParamW(TestDialog(u"主窗口"), nullptr, nullptr);
        return owner;
    }
    std::u16string ButtonText(HWND box, int id) const { return Caption(GetDlgItem(box, id)); }

    HWND owner = nullptr;
};

struct AnswerCase {
    const char* name;
    UINT type;
    std::function<void(headless::Script&)> operate;
    int expected;
};

class BoxAnswerTest : public MessageBoxTest, public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(BoxAnswerTest, ReturnsTheOperatorsAnswer) {
    GetParam().operate(session.ExpectBox(u"正文", u"标题"));
    EXPECT_EQ(MessageBoxW(nullptr, u"正文", u"标题", GetParam().type), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, BoxAnswerTest,
    ::testing::Values(AnswerCase{"OkByButton", MB_OK, [](auto& s) { s.Answer(IDOK); }, IDOK},
                      AnswerCase{"OkByEnter", MB_OK, [](auto& s) { s.Press(Key::Enter); }, IDOK},
                      AnswerCase{"OkByEscape", MB_OK, [](auto& s) { s.Press(Key::Escape); }, IDOK},
                      AnswerCase{"OkByCloseBox", MB_OK, [](auto& s) { s.CloseBox(); }, IDOK},
                      AnswerCase{"Yes", MB_YESNO, [](auto& s) { s.Answer(IDYES); }, IDYES},
                      AnswerCase{"YesByEnter", MB_YESNO, [](auto& s) { s.Press(Key::Enter); },
                                 IDYES},
                      AnswerCase{"No", MB_YESNO, [](auto& s) { s.Answer(IDNO); }, IDNO}),
    CaseName<AnswerCase>);

TEST_F(MessageBoxTest, YesNoBoxesIgnoreEscapeAndTheCloseBox) {
    session.ExpectBox(u"请先选择设备或者手动输入？", u"温馨提示")
        .Run([](HWND box) {
            EXPECT_FALSE(input::CloseBox(box));
            EXPECT_FALSE(input::PressKey(box, Key::AltF4));
            EXPECT_FALSE(input::ChooseSystemMenuItem(box, SC_CLOSE));
            input::PressKey(box, Key::Escape);
            SendMessageW(box, WM_CLOSE, 0, 0);
            EXPECT_TRUE(IsWindow(box));
        })
        .Answer(IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, u"请先选择设备或者手动输入？", u"温馨提示", MB_YESNO), IDNO);
}

TEST_F(MessageBoxTest, ButtonsAreLabelledAsOnAChineseSystemAndTheFirstHasTheFocus) {
    session.ExpectBox(u"两个按钮")
        .Run([&](HWND box) {
            EXPECT_EQ(ButtonText(box, IDYES), u"是");
            EXPECT_EQ(ButtonText(box, IDNO), u"否");
            EXPECT_EQ(headless::FocusedId(box), IDYES);
            EXPECT_EQ(FindWindow(GetDlgItem(box, IDYES))->Kind(), ButtonKind::DefaultPush);
        })
        .Answer(IDNO);
    session.ExpectBox(u"一个按钮")
        .Run([&](HWND box) {
            EXPECT_EQ(ButtonText(box, IDOK), u"确定");
            EXPECT_EQ(headless::FocusedId(box), IDOK);
        })
        .Answer(IDOK);
    MessageBoxW(nullptr, u"两个按钮", u"标题", MB_YESNO);
    MessageBoxW(nullptr, u"一个按钮", u"标题", MB_OK);
}

TEST_F(MessageBoxTest, OnTheUiThreadABoxIsModalToItsOwner) {
    OpenOwner();
    session.ExpectBox(u"设备ID不能为空")
        .Run([&](HWND box) {
            EXPECT_FALSE(IsWindowEnabled(owner));
            EXPECT_EQ(FindWindow(box)->Owner(), owner);
            EXPECT_TRUE(FindWindow(box)->IsModalRunning());
        })
        .Answer(IDOK);
    EXPECT_EQ(MessageBoxW(GetDlgItem(owner, kEditId), u"设备ID不能为空", nullptr, MB_OK), IDOK);
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(MessageBoxTest, WithoutCaptionTheBoxShowsTheApplicationsName) {
    session.ExpectBox(u"无标题", u"quorvel").Answer(IDOK);
    MessageBoxW(nullptr, u"无标题", nullptr, MB_OK);
    SetApplicationName(u"");
    session.ExpectBox(u"无名", u"错误").Answer(IDOK);
    MessageBoxW(nullptr, u"无名", nullptr, MB_OK);
}

TEST_F(MessageBoxTest, NarrowTextsAreCodePage936) {
    session.ExpectBox(u"确定吗", u"提示").Answer(IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "\xc8\xb7\xb6\xa8\xc2\xf0", "\xcc\xe1\xca\xbe", MB_OK), IDOK);
}

TEST_F(MessageBoxTest, AWorkerBoxHoldsOnlyTheWorkerAndDisablesItsOwnerMeanwhile) {
    OpenOwner();
    std::atomic<int> answer{-1};
    WorkerThread worker([&] { answer = MessageBoxW(owner, u"error_id", nullptr, MB_OK); });

    const HWND box = session.WaitForBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(BoxText(box), u"error_id");
    EXPECT_EQ(Caption(box), u"quorvel");
    EXPECT_FALSE(FindWindow(box)->IsModalRunning());
    EXPECT_FALSE(IsWindowEnabled(owner));
    EXPECT_EQ(answer.load(), -1);

    ASSERT_TRUE(session.Answer(box, IDOK));
    ASSERT_TRUE(session.PumpUntil([&] { return worker.Finished(); }));
    EXPECT_EQ(answer.load(), IDOK);
    EXPECT_FALSE(IsWindow(box));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(MessageBoxTest, AModalDialogOpenedWhileAnOwnerlessWorkerBoxIsOpenStillReturns) {
    std::atomic<int> answer{-1};
    WorkerThread worker(
        [&] { answer = MessageBoxA(nullptr, "result", "\xcc\xe1\xca\xbe", MB_OK); });
    const HWND box = session.WaitForBox();
    ASSERT_NE(box, nullptr);

    session.ExpectDialog(u"测试对话框").Press(Key::Escape);
    Recorder recorder;
    EXPECT_EQ(DialogBoxIndirectParamW(TestDialog(), nullptr, recorder.Procedure()), IDCANCEL);
    EXPECT_TRUE(IsWindow(box));
    EXPECT_EQ(answer.load(), -1);

    ASSERT_TRUE(session.Answer(box, IDOK));
    ASSERT_TRUE(session.PumpUntil([&] { return worker.Finished(); }));
    EXPECT_EQ(answer.load(), IDOK);
}

TEST_F(MessageBoxTest, AScriptAnswersAWorkerBoxWhenTheUiThreadPumps) {
    session.ExpectBox(u"问题").Answer(IDYES);
    std::atomic<int> answer{-1};
    WorkerThread worker([&] { answer = MessageBoxW(nullptr, u"问题", u"标题", MB_YESNO); });
    ASSERT_TRUE(session.PumpUntil([&] { return worker.Finished(); }));
    EXPECT_EQ(answer.load(), IDYES);
}

TEST_F(MessageBoxTest, EndingTheWaitingThreadReleasesItsBox) {
    OpenOwner();
    std::atomic<int> answer{-1};
    WorkerThread worker([&] { answer = MessageBoxW(owner, u"等待中", nullptr, MB_OK); });
    const HWND box = session.WaitForBox();
    ASSERT_NE(box, nullptr);

    worker.End();  // returns once the worker has left MessageBoxW

    EXPECT_EQ(answer.load(), 0);
    session.Pump();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_TRUE(IsWindowEnabled(owner));
}

TEST_F(MessageBoxTest, AThreadEndedBeforeItsBoxIsMadeGetsNoBox) {
    std::atomic<int> answer{-1};
    WorkerThread worker([&] { answer = MessageBoxW(nullptr, u"不会出现", nullptr, MB_OK); });
    plat::Sleep(50);  // the UI thread does not pump: the box is still a queued call
    worker.End();
    EXPECT_EQ(answer.load(), 0);
    session.Pump();
    EXPECT_TRUE(headless::OpenMessageBoxes().empty());
}

}  // namespace
}  // namespace win::testing
