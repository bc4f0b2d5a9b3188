// Listing devices: the line text, one line per serial number, the 200-line limit, and the
// search that empties the list.
#include <chrono>

#include "main_dialog_fixture.h"
#include "platform/adapters.h"

namespace ui_test {
namespace {

using DeviceListTest = MainDialogFixture;

DeviceReply Device(const std::string& serial) {
    DeviceReply d;
    d.serial = serial;
    return d;
}

TEST_F(DeviceListTest, TheThirdDeviceGetsTheLineOfTheExample) {
    Deliver(Device("A1").Encode(kSession), "192.168.1.30");
    Deliver(Device("B2").Encode(kSession), "192.168.1.31");
    Deliver(DeviceReply{}.Encode(kSession), "192.168.1.20");
    ASSERT_EQ(Lines().size(), 3u);
    EXPECT_EQ(Lines()[2],
              u"3 IP:192.168.1.20 -->( 序列号:K7Q2X9  名称:Lab-2  类型:T200  固件:1.2.0  "
              u"软件:3.1.4  激活日期:2023-03-15  升级日期:2024-01-20 )");
}

TEST_F(DeviceListTest, GbkAndUtf8TextsAreShownAsTheyMean) {
    DeviceReply d;
    d.name = "机房-2";                           // UTF-8 on the wire
    d.type = plat::WideToAnsiString(u"网关型");  // code page 936 on the wire
    d.serial = "S-1";
    Deliver(d.Encode(kSession));
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_NE(Lines()[0].find(u"  名称:机房-2  类型:网关型  "), std::u16string::npos)
        << plat::WideToUtf8(Lines()[0]);
}

TEST_F(DeviceListTest, OneLinePerSerialNumberWhateverTheAddress) {
    DeviceReply first = Device("K7Q2X9");
    first.nics = {Nic{"eth0", "192.168.1.20", "255.255.255.0", "192.168.1.1"},
                  Nic{"eth1", "10.0.0.2", "255.0.0.0", "10.0.0.1"}};
    Deliver(first.Encode(kSession), "192.168.1.20");

    DeviceReply again = Device("K7Q2X9");
    again.type = "OTHER";
    again.nics = {Nic{"x", "1.1.1.1", "", ""}, Nic{"y", "", "", ""}, Nic{"z", "", "", ""}};
    Deliver(again.Encode(kSession), "192.168.1.99");

    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_NE(Lines()[0].find(u"IP:192.168.1.20 "), std::u16string::npos);
    EXPECT_NE(Lines()[0].find(u"类型:T200"), std::u16string::npos);
    ASSERT_EQ(dialog->m_devices[0].nics.size(), 2u);
    EXPECT_EQ(dialog->m_devices[0].nics[1].Name(), "eth1");
}

TEST_F(DeviceListTest, SerialNumbersAreComparedExactly) {
    Deliver(Device("").Encode(kSession), "192.168.1.2");
    Deliver(Device("").Encode(kSession), "192.168.1.3");
    Deliver(Device("abc").Encode(kSession), "192.168.1.4");
    Deliver(Device("ABC").Encode(kSession), "192.168.1.5");
    Deliver(Device("abc ").Encode(kSession), "192.168.1.6");
    ASSERT_EQ(Lines().size(), 4u) << "two empty serials are one device; case and blanks count";
    EXPECT_EQ(Lines()[3].substr(0, 15), u"4 IP:192.168.1.");
}

TEST_F(DeviceListTest, LinesAreNumberedInArrivalOrderAndAppendedBehindTheSelection) {
    for (int i = 1; i <= 4; ++i) {
        Deliver(Device("D" + std::to_string(i)).Encode(kSession));
    }
    Select(1);
    for (int i = 5; i <= 10; ++i) {
        Deliver(Device("D" + std::to_string(i)).Encode(kSession));
    }
    ASSERT_EQ(Lines().size(), 10u);
    EXPECT_EQ(win::headless::ListSelection(hwnd, IDC_LIST), 1);
    EXPECT_EQ(Lines()[9].substr(0, 6), u"10 IP:");
    EXPECT_NE(Lines()[4].find(u"序列号:D5 "), std::u16string::npos);
}

TEST_F(DeviceListTest, ASearchStartsTheListAndTheNumberingAgain) {
    Deliver(Device("OLD").Encode(kSession));
    Deliver(Device("KEPT").Encode(kSession));
    Click(IDC_SEARCH);
    EXPECT_TRUE(Lines().empty());
    Deliver(Device("KEPT").Encode(kSession));
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].substr(0, 5), u"1 IP:");
    EXPECT_NE(Lines()[0].find(u"序列号:KEPT "), std::u16string::npos);
    EXPECT_EQ(dialog->m_devices[0].info.Serial(), "KEPT");
    EXPECT_EQ(dialog->m_devices[1].info.Serial(), "KEPT") << "left as the earlier list had it";
}

TEST_F(DeviceListTest, EachListedDeviceWritesOneEmptyDebuggerPieceAndADuplicateNone) {
    output.Clear();
    Deliver(Device("A1").Encode(kSession));
    Deliver(Device("A1").Encode(kSession), "192.168.1.99");
    Deliver(Device("B2").Encode(kSession));
    std::vector<std::string> debugger;
    for (const plat::OutputPiece& piece : output.Pieces()) {
        if (piece.channel == plat::OutputChannel::Debugger) {
            debugger.push_back(piece.text);
        }
    }
    EXPECT_EQ(debugger, (std::vector<std::string>{"", ""}));
}

TEST_F(DeviceListTest, ASearchHoldsTheUiThreadForItsWaitBeforeShowingThePanel) {
    const auto start = std::chrono::steady_clock::now();
    Click(IDC_SEARCH);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(100));
}

TEST_F(DeviceListTest, ASearchWithoutAnyAdapterSendsNothingLogsNothingAndStillClears) {
    DeviceReply device = Device("OLD");
    device.nics = {Nic{"eth0", "192.168.1.20", "255.255.255.0", "192.168.1.1"}};
    Deliver(device.Encode(kSession));
    Select(0);
    ASSERT_EQ(win::headless::ShownText(hwnd, IDC_NAME1), u"eth0");
    network.ClearSent();
    output.Clear();
    {
        plat::testing::FakeAdapters none;  // in place of the fixture's list while it lives
        Click(IDC_SEARCH);
    }
    plat::SetAdapterService(&adapters);

    EXPECT_EQ(network.SentCount(), 0u);
    EXPECT_EQ(output.Debugger(), "") << "the sender's 0 is no failure";
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(win::headless::ShownText(hwnd, IDC_NAME1), u"");
}

TEST_F(DeviceListTest, AReplyReceivedBeforeASearchGoesWithTheListItEmptied) {
    // The worker has taken the reply, but the UI thread is busy until after the search.
    network.QueueDatagram(Device("STALE").Encode(kSession), plat::testing::Ip(kDeviceAddress));
    ASSERT_TRUE(network.WaitUntilReceiverIdle());
    Click(IDC_SEARCH);
    session.Pump();
    EXPECT_TRUE(Lines().empty());

    Deliver(Device("FRESH").Encode(kSession));
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_NE(Lines()[0].find(u"序列号:FRESH "), std::u16string::npos);
}

TEST_F(DeviceListTest, A201stDeviceAndADuplicateAtTheLimitStoreNothing) {
    for (int i = 0; i < 200; ++i) {
        network.QueueDatagram(Device("N" + std::to_string(i)).Encode(kSession),
                              plat::testing::Ip(kDeviceAddress));
    }
    ASSERT_TRUE(session.PumpUntil([&] { return Lines().size() == 200; }, std::chrono::seconds(20)));
    const auto last = dialog->m_devices[199].info.bytes;

    Deliver(Device("N200").Encode(kSession));
    Deliver(Device("N5").Encode(kSession));
    EXPECT_EQ(Lines().size(), 200u);
    EXPECT_EQ(dialog->m_devices[199].info.bytes, last);
}

}  // namespace
}  // namespace ui_test
