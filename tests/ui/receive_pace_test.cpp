// The worker takes replies as they come and does not pause when the queue is empty for an
// instant: at one reply per wait of the worker loop, or with a pause whenever the queue runs
// dry between two replies, the socket's queue overflows when many devices answer.
#include <atomic>

#include "main_dialog_fixture.h"

namespace ui_test {
namespace {

class CountingDialog : public CQuorvelDlg {
  public:
    ~CountingDialog() override { Stop(); }
    void ProcessThread(int index) override {
        runs.fetch_add(1);
        CQuorvelDlg::ProcessThread(index);
    }
    std::atomic<int> runs = 0;
};

class ReceivePaceTest : public SessionFixture {};

TEST_F(ReceivePaceTest, QueuedRepliesAreDrainedInOneRun) {
    CountingDialog dialog;
    afx::testing::OpenDialog opened(dialog);
    const HWND hwnd = opened.Handle();
    ASSERT_TRUE(network.WaitUntilReceiverIdle());

    // Hold the worker in the error box while a hundred replies queue up behind it.
    network.QueueDatagram(Header(0xF001, kSession, 36, 1), plat::testing::Ip("198.51.100.2"));
    const HWND box = session.WaitForBox();
    ASSERT_NE(box, nullptr);
    constexpr int kDevices = 100;
    for (int i = 0; i < kDevices; ++i) {
        DeviceReply reply;
        reply.serial = "P" + std::to_string(i);
        network.QueueDatagram(reply.Encode(kSession), plat::testing::Ip(kDeviceAddress));
    }
    const int runsBefore = dialog.runs.load();
    session.Answer(box, IDOK);

    ASSERT_TRUE(session.PumpUntil(
        [&] { return win::headless::ListLines(hwnd, IDC_LIST).size() == kDevices + 1; }));
    EXPECT_LE(dialog.runs.load() - runsBefore, 1) << "one run took the whole queue";
}

TEST_F(ReceivePaceTest, AReplyAfterTheQueueRanDryIsTakenInTheSameRun) {
    CountingDialog dialog;
    afx::testing::OpenDialog opened(dialog);
    const HWND hwnd = opened.Handle();
    ASSERT_TRUE(network.WaitUntilReceiverIdle());
    const int runsBefore = dialog.runs.load();

    for (int i = 0; i < 3; ++i) {
        DeviceReply reply;
        reply.serial = "P" + std::to_string(i);
        network.QueueDatagram(reply.Encode(kSession), plat::testing::Ip(kDeviceAddress));
        ASSERT_TRUE(network.WaitUntilReceiverIdle());  // taken, and the queue is empty again
    }

    ASSERT_TRUE(
        session.PumpUntil([&] { return win::headless::ListLines(hwnd, IDC_LIST).size() == 3; }));
    EXPECT_EQ(dialog.runs.load(), runsBefore) << "the run went back to the worker loop's wait";
}

}  // namespace
}  // namespace ui_test
