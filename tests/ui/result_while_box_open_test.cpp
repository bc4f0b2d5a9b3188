// Modify and reboot while result boxes and dialogs are open on both threads.
#include "request_fixture.h"

namespace ui_test {
namespace {

struct PressCase {
    const char* name;
    int button;
    std::uint32_t resultCommand;
};

class ResultWhileBoxOpenTest : public RequestFixture,
                               public ::testing::WithParamInterface<PressCase> {};

// A result box the worker holds; the operator presses again meanwhile; a second result waits
// behind the box. Dismissing the box sets the flag, so the waiting result shows nothing.
TEST_P(ResultWhileBoxOpenTest, APressWhileTheWorkerHoldsAResultBox) {
    AddAndSelect(DeviceReply{});
    network.QueueDatagram(ResultReply(GetParam().resultCommand, kSession, ""),
                          plat::testing::Ip(kDeviceAddress));
    const HWND box = session.WaitForBox();
    ASSERT_NE(box, nullptr);
    AnswerCredentials(u"admin", u"secret");
    Click(GetParam().button);
    EXPECT_EQ(network.SentCount(), 256u);
    EXPECT_EQ(dialog->m_bResultShown.load(), 0);
    network.QueueDatagram(ResultReply(GetParam().resultCommand, kSession, "late"),
                          plat::testing::Ip(kDeviceAddress));
    ASSERT_TRUE(session.Answer(box, IDOK));
    Settle();
    EXPECT_EQ(BoxesShown(), 1);
    EXPECT_EQ(dialog->m_bResultShown.load(), 1);
}

// Results and device replies arrive while the credential dialog is open: the worker's box opens
// over the modal dialog and is answered there, the device is listed, and the request still goes
// to the selected device.
TEST_P(ResultWhileBoxOpenTest, RepliesWhileTheCredentialDialogIsOpen) {
    AddAndSelect(DeviceReply{});
    session.ExpectDialog(kCredentialCaption)
        .Run([&](HWND) {
            DeviceReply other;
            other.serial = "OTHER";
            network.QueueDatagram(other.Encode(kSession), plat::testing::Ip("192.168.1.21"));
            network.QueueDatagram(ResultReply(GetParam().resultCommand, kSession, "x"),
                                  plat::testing::Ip(kDeviceAddress));
            const HWND box = session.WaitForBox();
            ASSERT_NE(box, nullptr);
            EXPECT_TRUE(session.Answer(box, IDOK));
            EXPECT_TRUE(session.PumpUntil([&] { return Lines().size() == 2; }));
        })
        .Type(IDC_USERNAME, u"admin")
        .Type(IDC_PASSWORD, u"secret")
        .Click(IDOK);
    Click(GetParam().button);
    EXPECT_EQ(network.SentCount(), 256u);
    EXPECT_EQ(Lines().size(), 2u);
    EXPECT_EQ(BoxesShown(), 1);
}

TEST_P(ResultWhileBoxOpenTest, TeardownWhileTheCredentialDialogAndAWorkerBoxAreOpen) {
    AddAndSelect(DeviceReply{});
    session.ExpectDialog(kCredentialCaption)
        .Run([&](HWND) {
            network.QueueDatagram(ResultReply(GetParam().resultCommand, kSession, "x"),
                                  plat::testing::Ip(kDeviceAddress));
            ASSERT_NE(session.WaitForBox(), nullptr);
        })
        .Press(win::input::Key::Escape);
    Click(GetParam().button);
    EXPECT_EQ(network.SentCount(), 0u);
    opened->Close();
    dialog.reset();
    EXPECT_EQ(network.BlockedReceivers(), 0);
}

INSTANTIATE_TEST_SUITE_P(Requests, ResultWhileBoxOpenTest,
                         ::testing::Values(PressCase{"Modify", IDC_MODIFY, 0xF002},
                                           PressCase{"Reboot", IDC_REBOOT, 0xF004}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace ui_test
