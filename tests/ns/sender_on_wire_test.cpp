// The real endpoint and the real sender on a veth: what reaches the LAN side, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "net/lan_sender.h"
#include "net/udp_endpoint.h"
#include "ns/devsim_record.h"
#include "ns/private_network_guard.h"
#include "platform/adapters.h"
#include "platform/kernel.h"
#include "platform/output.h"
#include "platform/sockets.h"

namespace {

using devsim_record::Datagram;
using devsim_record::Direction;
using Bytes = std::vector<std::uint8_t>;

constexpr auto kArrivalTimeout = std::chrono::seconds(5);
// After the expected datagrams have arrived, how long duplicates get to show up.
constexpr auto kSettleTime = std::chrono::milliseconds(300);

// The search request as it must appear on the wire: magic, its NUL and one more zero byte,
// four reserved zero bytes, command 1, the session id 0x8BADF00D, payload length 0, error code 0.
const Bytes kSearchRequest = {
    'A',  'A',  'B',  'B',  'C',  'C',  'D',  'D',  '_',  'K',  'A',  'V',
    'R',  'O',  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
    0x8B, 0xAD, 0xF0, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};

// The PC side's own test-network addresses (host order), in adapter order.
std::vector<std::uint32_t> PcAddresses() {
    std::vector<plat::AdapterAddresses> adapters;
    std::vector<std::uint32_t> out;
    if (plat::GetAdaptersAddresses(plat::kAfInet, plat::kGaaFlagIncludePrefix, adapters) != 0) {
        return out;
    }
    for (const auto& adapter : adapters) {
        for (const auto& unicast : adapter.unicast) {
            const std::uint32_t address = plat::NetToHost32(unicast.address);
            if (unicast.family == plat::kAfInet && nstest::IsTestNetworkAddress(address)) {
                out.push_back(address);
            }
        }
    }
    return out;
}

class SenderOnTheWire : public ::testing::Test {
  protected:
    void SetUp() override {
        recordPath_ = devsim_record::PathFromEnvironment();
        ASSERT_FALSE(recordPath_.empty()) << "run with netns-run --devices";
        // Earlier tests' datagrams stay in the record; a port may come round again.
        recordStart_ = devsim_record::Read(recordPath_).size();
        pcAddresses_ = PcAddresses();
        ASSERT_FALSE(pcAddresses_.empty());

        ASSERT_TRUE(net::SetUpUdpEndpoint(socket_));
        plat::SockAddrIn bound{};
        int length = sizeof bound;
        ASSERT_EQ(plat::getsockname(socket_, &bound, &length), 0);
        port_ = plat::NetToHost16(bound.sin_port);
        ASSERT_NE(port_, 0);
    }

    void TearDown() override {
        if (socket_ != plat::INVALID_SOCKET) {
            plat::closesocket(socket_);
            plat::WSACleanup();
        }
    }

    // Sends the search through the sender; returns its log on standard output.
    std::string SendSearch() {
        plat::CaptureOutput capture;
        EXPECT_EQ(
            net::SendToAllAdapters(socket_, reinterpret_cast<const char*>(kSearchRequest.data()),
                                   static_cast<int>(kSearchRequest.size())),
            0);
        return capture.StandardOutput();
    }

    // What the simulator received from this test's endpoint, by destination.
    std::map<std::string, std::vector<Bytes>> ReceivedByDestination(
        const std::vector<Datagram>& record) const {
        std::map<std::string, std::vector<Bytes>> out;
        for (const Datagram& d : record) {
            if (d.direction == Direction::Received && d.peerPort == port_) {
                EXPECT_TRUE(std::count(pcAddresses_.begin(), pcAddresses_.end(),
                                       plat::NetToHost32(plat::inet_addr(d.peer.c_str()))) == 1)
                    << "from " << d.peer;
                out[d.local].push_back(d.bytes);
            }
        }
        return out;
    }

    // This test's part of the record.
    std::vector<Datagram> Record() const { return Since(devsim_record::Read(recordPath_)); }
    std::vector<Datagram> Since(std::vector<Datagram> record) const {
        record.erase(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(
                                                          std::min(recordStart_, record.size())));
        return record;
    }

    std::string recordPath_;
    std::size_t recordStart_ = 0;
    std::vector<std::uint32_t> pcAddresses_;
    plat::SOCKET socket_ = plat::INVALID_SOCKET;
    std::uint16_t port_ = 0;
};

// The device's address on the LAN side of each PC address: host .10 of the same /24.
std::string DeviceOn(std::uint32_t pcAddress) {
    return nstest::DottedText((pcAddress & 0xFFFFFF00u) | 10u);
}
std::string DirectedBroadcastOf(std::uint32_t pcAddress) {
    return nstest::DottedText(pcAddress | 0xFFu);
}

TEST_F(SenderOnTheWire, SearchReachesTheDeviceInTheSweepAndByBothBroadcasts) {
    const std::string log = SendSearch();
    EXPECT_EQ(log.find("Sendto failed"), std::string::npos) << log;

    // Each PC address gives one directed and one limited broadcast. The limited ones all
    // leave by the route for 255.255.255.255, which is the first network's.
    std::map<std::string, std::size_t> expected;
    for (const std::uint32_t pc : pcAddresses_) {
        expected[DeviceOn(pc)] = 1;
        expected[DirectedBroadcastOf(pc)] = 1;
        expected["255.255.255.255"] += 1;
    }
    auto complete = [&](const std::vector<Datagram>& record) {
        const auto got = ReceivedByDestination(Since(record));
        return std::all_of(expected.begin(), expected.end(), [&](const auto& e) {
            const auto it = got.find(e.first);
            return it != got.end() && it->second.size() >= e.second;
        });
    };
    devsim_record::WaitFor(recordPath_, complete, kArrivalTimeout);
    std::this_thread::sleep_for(kSettleTime);
    const auto received = ReceivedByDestination(Record());

    std::map<std::string, std::size_t> counts;
    for (const auto& [destination, datagrams] : received) {
        counts[destination] = datagrams.size();
        for (const Bytes& bytes : datagrams) {
            EXPECT_EQ(bytes, kSearchRequest) << "to " << destination;
        }
    }
    EXPECT_EQ(counts, expected) << "nothing else of the sweep has a host on the LAN side";
}

// Receives device-information replies until `count` have come or the time-out passes; counts
// them by source address.
std::map<std::string, int> ReceiveReplies(plat::SOCKET socket, int count) {
    std::map<std::string, int> bySource;
    std::vector<char> buffer(65536);
    const auto deadline = std::chrono::steady_clock::now() + kArrivalTimeout;
    for (int received = 0; received < count;) {
        unsigned long queued = 0;
        EXPECT_EQ(plat::ioctlsocket(socket, plat::kFionread, &queued), 0);
        if (queued == 0) {
            if (std::chrono::steady_clock::now() >= deadline) {
                break;
            }
            plat::Sleep(5);
            continue;
        }
        plat::SockAddrIn from{};
        int fromLength = sizeof from;
        const int length = plat::recvfrom(socket, buffer.data(), static_cast<int>(buffer.size()), 0,
                                          &from, &fromLength);
        EXPECT_GE(length, 36 + 584);
        const auto* b = reinterpret_cast<const std::uint8_t*>(buffer.data());
        EXPECT_EQ(Bytes(b + 20, b + 28), (Bytes{0x00, 0x00, 0xF0, 0x01, 0x8B, 0xAD, 0xF0, 0x0D}))
            << "device information with the session id echoed";
        ++bySource[plat::inet_ntoa(from.sin_addr)];
        ++received;
    }
    return bySource;
}

TEST_F(SenderOnTheWire, EveryCopyTheDeviceAnswersComesBackToTheEndpoint) {
    SendSearch();
    // The last datagram of a call is a limited broadcast; once the simulator has it, it has
    // answered everything before it.
    auto lastArrived = [&](const std::vector<Datagram>& all) {
        const auto record = Since(all);
        return std::count_if(record.begin(), record.end(), [&](const Datagram& d) {
                   return d.direction == Direction::Received && d.peerPort == port_ &&
                          d.local == "255.255.255.255";
               }) >= static_cast<long>(pcAddresses_.size());
    };
    devsim_record::WaitFor(recordPath_, lastArrived, kArrivalTimeout);
    std::this_thread::sleep_for(kSettleTime);

    std::map<std::string, int> answeredFrom;
    int answers = 0;
    for (const Datagram& d : Record()) {
        if (d.direction == Direction::Sent && d.peerPort == port_) {
            ++answeredFrom[d.local];
            ++answers;
        }
    }
    EXPECT_EQ(answeredFrom[DeviceOn(pcAddresses_.front())],
              2 + static_cast<int>(pcAddresses_.size()))
        << "unicast, directed broadcast and every limited broadcast";
    EXPECT_EQ(ReceiveReplies(socket_, answers), answeredFrom);
}

}  // namespace
