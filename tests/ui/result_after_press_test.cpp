// What follows a sent request: each press lets the first result reply after it show its box,
// also while boxes and dialogs are open on both threads, and a request the sender could not
// send is only logged.
#include <chrono>

#include "request_fixture.h"

namespace ui_test {
namespace {

struct PressCase {
    const char* name;
    int button;
    std::uint32_t resultCommand;
};

class ResultAfterPressTest : public RequestFixture,
                             public ::testing::WithParamInterface<PressCase> {};

TEST_P(ResultAfterPressTest, EachPressLetsItsFirstResultShowABox) {
    AddAndSelect(DeviceReply{});
    for (int press = 1; press <= 2; ++press) {
        AnswerCredentials(u"admin", u"secret");
        Click(GetParam().button);
        EXPECT_EQ(network.SentCount(), 256u) << "press " << press;
        network.ClearSent();
        EXPECT_TRUE(ResultShowsBox(GetParam().resultCommand))
            << "the first result after press " << press;
        EXPECT_FALSE(ResultShowsBox(GetParam().resultCommand))
            << "a second result after press " << press;
    }
}

TEST_P(ResultAfterPressTest, ARequestThatCannotBeSentIsOnlyLogged) {
    AddAndSelect(DeviceReply{});
    adapters.SetAddressesError(8);  // the sender cannot read the adapter list
    AnswerCredentials(u"admin", u"secret");
    output.Clear();
    Click(GetParam().button);
    EXPECT_EQ(network.SentCount(), 0u);
    EXPECT_EQ(BoxesShown(), 0);
    const std::string log = output.Debugger();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.find('\n'), log.size() - 1) << "one line: " << log;
}

// A result box the worker holds; the operator presses again meanwhile; a second result waits
// behind the box. Dismissing the box sets the flag, so the waiting result shows nothing.
TEST_P(ResultAfterPressTest, APressWhileTheWorkerHoldsAResultBox) {
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
TEST_P(ResultAfterPressTest, RepliesWhileTheCredentialDialogIsOpen) {
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

TEST_P(ResultAfterPressTest, TeardownWhileTheCredentialDialogAndAWorkerBoxAreOpen) {
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

INSTANTIATE_TEST_SUITE_P(Requests, ResultAfterPressTest,
                         ::testing::Values(PressCase{"Modify", IDC_MODIFY, 0xF002},
                                           PressCase{"Reboot", IDC_REBOOT, 0xF004}),
                         [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace ui_test
