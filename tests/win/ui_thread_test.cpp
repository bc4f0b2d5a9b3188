// Window calls from other threads: carried out on the UI thread while the caller waits, also
// while the UI thread sits in a modal loop; delayed by a busy UI thread; dropped, never run,
// when the caller is ended first.
#include <atomic>
#include <stdexcept>
#include <vector>

#include "platform/output.h"
#include "win/headless/probe.h"
#include "win/ui_thread.h"
#include "win_test_support.h"
#include "worker_thread.h"

namespace win::testing {
namespace {

class UiThreadTest : public SessionTest {
  protected:
    void SetUp() override {
        dialog = CreateDialogIndirectParamW(TestDialog(), nullptr, nullptr);
        list = GetDlgItem(dialog, kListId);
    }
    std::vector<std::u16string> Lines() const { return headless::ListLines(dialog, kListId); }

    HWND dialog = nullptr;
    HWND list = nullptr;
};

TEST_F(UiThreadTest, AWorkersMessagesRunOnTheUiThreadInsideAModalLoop) {
    std::atomic<LRESULT> count{-1};
    std::atomic<LRESULT> inserted{-1};
    std::atomic<bool> ranOnUiThread{false};
    std::unique_ptr<WorkerThread> worker;
    session.ExpectDialog(u"模态")
        .Run([&](HWND) {
            worker = std::make_unique<WorkerThread>([&] {
                count = SendMessageW(list, LB_GETCOUNT, 0, 0);
                inserted = SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(count.load()),
                                        reinterpret_cast<LPARAM>(u"1 IP:198.51.100.10"));
                InvokeOnUiThread([&] { ranOnUiThread = OnUiThread(); });
            });
            ASSERT_TRUE(session.PumpUntil([&] { return worker->Finished(); }));
        })
        .Press(input::Key::Escape);
    Recorder recorder;
    EXPECT_EQ(DialogBoxIndirectParamW(TestDialog(u"模态"), dialog, recorder.Procedure()), IDCANCEL);
    EXPECT_EQ(count.load(), 0);
    EXPECT_EQ(inserted.load(), 0);
    EXPECT_TRUE(ranOnUiThread.load());
    EXPECT_EQ(Lines(), std::vector<std::u16string>{u"1 IP:198.51.100.10"});
}

TEST_F(UiThreadTest, ABusyUiThreadDelaysTheCall) {
    std::atomic<bool> returned{false};
    WorkerThread worker([&] {
        SetWindowTextW(GetDlgItem(dialog, kEditId), u"来自工作线程");
        returned = true;
    });
    plat::Sleep(100);  // the UI thread does not look at its queue meanwhile
    EXPECT_FALSE(returned.load());
    EXPECT_EQ(headless::ShownText(dialog, kEditId), u"");
    ASSERT_TRUE(session.PumpUntil([&] { return returned.load(); }));
    EXPECT_EQ(headless::ShownText(dialog, kEditId), u"来自工作线程");
}

TEST_F(UiThreadTest, EndingTheCallerWakesItAndTheCallNeverRuns) {
    std::atomic<int> result{-1};
    std::atomic<bool> ran{false};
    WorkerThread worker([&] {
        result = InvokeOnUiThread([&] { ran = true; }) ? 1 : 0;
        // Once ended, every further call returns at once.
        SendMessageW(list, LB_INSERTSTRING, static_cast<WPARAM>(-1),
                     reinterpret_cast<LPARAM>(u"never"));
    });
    plat::Sleep(50);
    worker.End();
    EXPECT_EQ(result.load(), 0);
    session.Pump();
    EXPECT_FALSE(ran.load());
    EXPECT_TRUE(Lines().empty());
}

TEST_F(UiThreadTest, AnExceptionOfTheCallReachesTheCaller) {
    std::atomic<bool> caught{false};
    WorkerThread worker([&] {
        try {
            InvokeOnUiThread([] { throw std::runtime_error("on the UI thread"); });
        } catch (const std::runtime_error&) {
            caught = true;
        }
    });
    ASSERT_TRUE(session.PumpUntil([&] { return worker.Finished(); }));
    EXPECT_TRUE(caught.load());
}

TEST_F(UiThreadTest, PostedCallsRunInOrderAndAreDroppedWhenTheirWindowIsGone) {
    std::vector<int> order;
    const HWND other = CreateDialogIndirectParamW(TestDialog(u"另一个"), nullptr, nullptr);
    WorkerThread worker([&] {
        PostToWindow(dialog, [&] { order.push_back(1); });
        PostToWindow(other, [&] { order.push_back(99); });
        PostToWindow(dialog, [&] { order.push_back(2); });
    });
    while (!worker.Finished()) {  // posting does not wait for the UI thread
        plat::Sleep(1);
    }
    DestroyWindow(other);
    session.Pump();
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST_F(UiThreadTest, AnExceptionInAPostedCallIsTracedAndTheLoopGoesOn) {
    plat::CaptureOutput output;
    bool later = false;
    PostToWindow(dialog, [] { throw std::runtime_error("posted failure"); });
    PostToWindow(dialog, [&] { later = true; });
    session.Pump();
    EXPECT_TRUE(later);
    EXPECT_NE(output.Debugger().find("posted failure"), std::string::npos);
}

}  // namespace
}  // namespace win::testing
