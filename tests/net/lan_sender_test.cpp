#include "net/lan_sender.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/output.h"
#include "platform/testing/fakes.h"

namespace {

using plat::testing::FakeAdapters;
using plat::testing::FakeNetwork;
using plat::testing::Ip;

const std::vector<std::uint8_t> kPayload = {0xAA, 0x00, 0x55};

std::vector<std::string> Sweep(const std::string& prefix) {
    std::vector<std::string> hosts;
    for (int host = 1; host <= 254; ++host) {
        hosts.push_back(prefix + std::to_string(host));
    }
    return hosts;
}

std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (const auto& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

class LanSenderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        socket_ = plat::WSASocketW(plat::kAfInet, plat::kSockDgram, 0, nullptr, 0, 0);
    }

    int Send() {
        return net::SendToAllAdapters(socket_, reinterpret_cast<const char*>(kPayload.data()),
                                      static_cast<int>(kPayload.size()));
    }

    std::vector<std::string> Destinations() const {
        std::vector<std::string> texts;
        for (const auto& sent : network_.SentDatagrams()) {
            EXPECT_EQ(sent.port, 5050);
            EXPECT_EQ(sent.bytes, kPayload);
            texts.push_back(sent.AddressText());
        }
        return texts;
    }

    FakeNetwork network_;
    FakeAdapters adapters_;
    plat::CaptureOutput output_;
    plat::SOCKET socket_ = plat::INVALID_SOCKET;
};

TEST_F(LanSenderTest, SweepsTheSlash24ThenDirectedThenLimitedBroadcast) {
    adapters_.AddAdapter("eth0", plat::kIfTypeEthernet, u"Ethernet", {"192.168.1.77"},
                         "255.255.255.0");
    EXPECT_EQ(Send(), 0);
    EXPECT_EQ(Destinations(), Concat({Sweep("192.168.1."), {"192.168.1.255", "255.255.255.255"}}));
}

TEST_F(LanSenderTest, SweepIgnoresTheRealMaskButTheBroadcastUsesIt) {
    adapters_.AddAdapter("eth0", plat::kIfTypeEthernet, u"Ethernet", {"10.1.2.3"}, "255.255.0.0");
    EXPECT_EQ(Send(), 0);
    EXPECT_EQ(Destinations(), Concat({Sweep("10.1.2."), {"10.1.255.255", "255.255.255.255"}}));
}

TEST_F(LanSenderTest, AdapterWithoutKnownMaskBroadcastsTwiceToTheLimitedAddress) {
    adapters_.AddAdapter("eth0", plat::kIfTypeEthernet, u"Ethernet", {"192.168.1.77"}, nullptr);
    EXPECT_EQ(Send(), 0);
    EXPECT_EQ(Destinations(),
              Concat({Sweep("192.168.1."), {"255.255.255.255", "255.255.255.255"}}));
}

TEST_F(LanSenderTest, AllSweepsComeFirstThenTheBroadcastsInAdapterOrder) {
    adapters_.AddAdapter("A", plat::kIfTypeEthernet, u"A", {"192.168.1.77"}, "255.255.255.0");
    adapters_.AddAdapter("B", plat::kIfTypeEthernet, u"B", {"172.16.5.9"}, "255.255.255.0");
    EXPECT_EQ(Send(), 0);
    EXPECT_EQ(Destinations(),
              Concat({Sweep("192.168.1."),
                      Sweep("172.16.5."),
                      {"192.168.1.255", "255.255.255.255", "172.16.5.255", "255.255.255.255"}}));
}

TEST_F(LanSenderTest, AnAdapterWithTwoAddressesGetsTheMaskOfItsFirstForBoth) {
    adapters_.AddAdapter("eth0", plat::kIfTypeEthernet, u"E", {"192.168.1.77", "10.9.8.7"},
                         "255.255.255.0");
    EXPECT_EQ(Send(), 0);
    EXPECT_EQ(Destinations(),
              Concat({Sweep("192.168.1."),
                      Sweep("10.9.8."),
                      {"192.168.1.255", "255.255.255.255", "10.9.8.255", "255.255.255.255"}}));
}

TEST_F(LanSenderTest, SkipsNonIpv4TheLoopbackAdapterAndOnly127001) {
    adapters_.AddAdapter("lo", plat::kIfTypeSoftwareLoopback, u"lo", {"127.0.0.1", "10.0.0.1"},
                         "255.0.0.0");
    adapters_.AddAdapter("eth0", plat::kIfTypeEthernet, u"E", {"127.0.0.1", "127.0.0.2"},
                         "255.255.255.0");
    adapters_.AddForeignAddress(23);
    EXPECT_EQ(Send(), 0);
    EXPECT_EQ(Destinations(), Concat({Sweep("127.0.0."), {"127.0.0.255", "255.255.255.255"}}));
}

TEST_F(LanSenderTest, LoopbackOnlySendsNothingAndSucceeds) {
    adapters_.AddAdapter("lo", plat::kIfTypeSoftwareLoopback, u"lo", {"127.0.0.1"}, "255.0.0.0");
    EXPECT_EQ(Send(), 0);
    EXPECT_EQ(network_.SentCount(), 0u);
    EXPECT_EQ(output_.StandardOutput(), "");
    EXPECT_EQ(adapters_.AddressesCalls(), 2) << "the list is read once per pass";
}

TEST_F(LanSenderTest, EverySendIsLoggedOnBothOutputs) {
    adapters_.AddAdapter("eth0", plat::kIfTypeEthernet, u"以太网 2", {"192.168.1.77"},
                         "255.255.255.0");
    network_.FailSendNumber(3, plat::WSAENETUNREACH);
    EXPECT_EQ(Send(), 0);
    EXPECT_EQ(network_.SentCount(), 255u) << "a failed send does not stop the walk";

    std::string expectedOut;
    std::vector<std::string> expectedDebug;
    int n = 0;
    for (const auto& address :
         Concat({Sweep("192.168.1."), {"192.168.1.255", "255.255.255.255"}})) {
        ++n;
        expectedOut += "Broadcast address: " + address + "\n";
        expectedOut += n == 3 ? "Sendto failed with error: 10051\n"
                              : "Broadcast message sent successfully on adapter: 以太网 2\n";
        expectedDebug.insert(expectedDebug.end(), {"Broadcast address: ", address, "\n"});
    }
    EXPECT_EQ(output_.StandardOutput(), expectedOut);

    std::vector<std::string> debugPieces;
    for (const auto& piece : output_.Pieces()) {
        if (piece.channel == plat::OutputChannel::Debugger) {
            debugPieces.push_back(piece.text);
        }
    }
    EXPECT_EQ(debugPieces, expectedDebug);
}

TEST_F(LanSenderTest, UnreadableAdapterListFailsBothPasses) {
    adapters_.AddAdapter("eth0", plat::kIfTypeEthernet, u"E", {"192.168.1.77"}, "255.255.255.0");
    adapters_.SetAddressesError(plat::kErrorNotEnoughMemory);
    EXPECT_EQ(Send(), -1);
    EXPECT_EQ(network_.SentCount(), 0u);
    EXPECT_EQ(output_.StandardOutput(),
              "GetAdaptersAddresses failed with error: 8\n"
              "GetAdaptersAddresses failed with error: 8\n");
}

TEST_F(LanSenderTest, InvalidSocketFailsBothPassesAfterReadingTheList) {
    adapters_.AddAdapter("eth0", plat::kIfTypeEthernet, u"E", {"192.168.1.77"}, "255.255.255.0");
    plat::SockAddrIn any{};
    plat::bind(plat::INVALID_SOCKET, &any, sizeof any);  // leaves WSAENOTSOCK as last error
    socket_ = plat::INVALID_SOCKET;
    EXPECT_EQ(Send(), -1);
    EXPECT_EQ(network_.SentCount(), 0u);
    EXPECT_EQ(output_.StandardOutput(),
              "Error creating socket: 10038\nError creating socket: 10038\n");
    EXPECT_EQ(adapters_.AddressesCalls(), 2);
}

TEST_F(LanSenderTest, SweepAloneSendsNoBroadcast) {
    adapters_.AddAdapter("eth0", plat::kIfTypeEthernet, u"E", {"192.168.1.77"}, "255.255.255.0");
    EXPECT_EQ(net::SendToSubnetHosts(socket_, reinterpret_cast<const char*>(kPayload.data()),
                                     static_cast<int>(kPayload.size())),
              0);
    EXPECT_EQ(Destinations(), Sweep("192.168.1."));
}

TEST(AdapterMaskTest, MatchesTheNameExactlyAndGivesZeroOtherwise) {
    FakeAdapters adapters;
    adapters.AddAdapter("eth0", plat::kIfTypeEthernet, u"E", {"10.1.2.3"}, "255.255.0.0");
    adapters.AddAdapter("eth1", plat::kIfTypeEthernet, u"E", {"10.2.2.3"}, "255.255.255.0");
    EXPECT_EQ(net::GetAdapterMask("eth0"), Ip("255.255.0.0"));
    EXPECT_EQ(net::GetAdapterMask("eth1"), Ip("255.255.255.0"));
    EXPECT_EQ(net::GetAdapterMask("ETH0"), 0u);
    EXPECT_EQ(net::GetAdapterMask("eth"), 0u);
    adapters.SetInfoError(plat::kErrorNoData);
    EXPECT_EQ(net::GetAdapterMask("eth0"), 0u);
}

}  // namespace
