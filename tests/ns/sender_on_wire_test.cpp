// The real endpoint and the real sender on a veth: what reaches the LAN side, byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
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
// What a stock kernel grants each socket of an unprivileged program however much it asks for
// (net.core.wmem_max; the kernel doubles it): about 185 datagrams of 724 bytes, while every
// datagram to an absent host holds its room for the 3 s of address resolution.
constexpr int kStockBufferCap = 212992;
// A long sweep's last datagrams go out once the kernel has freed that room twice.
constexpr auto kLongSweepTimeout = std::chrono::seconds(15);
// After the expected datagrams have arrived, how long duplicates get to show up.
constexpr auto kSettleTime = std::chrono::milliseconds(300);

// The search request as it must appear on the wire: magic, its NUL and one more zero byte,
// four reserved zero bytes, command 1, the session id 0x8BADF00D, payload length 0, error code 0.
const Bytes kSearchRequest = {
    'A',  'A',  'B',  'B',  'C',  'C',  'D',  'D',  '_',  'K',  'A',  'V',
    'R',  'O',  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x01,
    0x8B, 0xAD, 0xF0, 0x0D, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
};

// The largest modify request's size: a header with command 2, a session id that marks the
// test's own datagrams, then zero bytes.
Bytes LongRequest(std::uint32_t marker) {
    Bytes request(724, 0);
    std::copy(kSearchRequest.begin(), kSearchRequest.begin() + 20, request.begin());
    const std::uint32_t fields[] = {2, marker, 724 - 36, 0};
    for (std::size_t i = 0; i < 4; ++i) {
        for (std::size_t b = 0; b < 4; ++b) {
            request[20 + 4 * i + b] = static_cast<std::uint8_t>(fields[i] >> (24 - 8 * b));
        }
    }
    return request;
}

// Takes the private network's routes for the limited broadcast away while it lives, and puts
// them back as they were. Nothing else in the namespace can send to 255.255.255.255 meanwhile.
class WithoutLimitedBroadcastRoute {
  public:
    WithoutLimitedBroadcastRoute() {
        if (std::FILE* out = popen("ip -o route show 255.255.255.255/32", "r")) {
            char line[256];
            while (std::fgets(line, sizeof line, out) != nullptr) {
                std::string route(line);
                route.erase(route.find_last_not_of(" \n") + 1);
                routes_.push_back(route);
            }
            pclose(out);
        }
        for (const std::string& route : routes_) {
            EXPECT_EQ(std::system(("ip route del " + route).c_str()), 0) << route;
        }
    }
    ~WithoutLimitedBroadcastRoute() {
        for (const std::string& route : routes_) {
            EXPECT_EQ(std::system(("ip route add " + route).c_str()), 0) << route;
        }
    }
    bool Removed() const { return !routes_.empty(); }

  private:
    std::vector<std::string> routes_;
};

plat::SockAddrIn Destination(const std::string& dotted) {
    plat::SockAddrIn address{};
    address.sin_family = plat::kAfInet;
    address.sin_port = plat::HostToNet16(5050);
    address.sin_addr.s_addr = plat::inet_addr(dotted.c_str());
    return address;
}

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
        plat::testing::CapKernelSocketBuffers(0);
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

    // In place of the endpoint, a socket set up as it is but asking for only the send buffer
    // one kernel socket gets on a stock kernel: a long sweep fills it, and the socket layer's
    // queue holds the rest.
    void UseASocketAskingForOneStockBuffer() {
        plat::closesocket(socket_);
        plat::WSACleanup();
        plat::testing::CapKernelSocketBuffers(kStockBufferCap);
        socket_ = plat::WSASocketW(plat::kAfInet, plat::kSockDgram, 0, nullptr, 0,
                                   plat::kWsaFlagOverlapped);
        ASSERT_NE(socket_, plat::INVALID_SOCKET);
        const char broadcast = 1;
        ASSERT_EQ(plat::setsockopt(socket_, plat::kSolSocket, plat::kSoBroadcast, &broadcast, 1),
                  0);
        const int bytes = kStockBufferCap;
        ASSERT_EQ(plat::setsockopt(socket_, plat::kSolSocket, plat::kSoSndBuf,
                                   reinterpret_cast<const char*>(&bytes), sizeof bytes),
                  0);
        plat::SockAddrIn local{};
        local.sin_family = plat::kAfInet;
        ASSERT_EQ(plat::bind(socket_, &local, sizeof local), 0);
        plat::SockAddrIn bound{};
        int length = sizeof bound;
        ASSERT_EQ(plat::getsockname(socket_, &bound, &length), 0);
        port_ = plat::NetToHost16(bound.sin_port);
    }

    // Where each copy of a sweep with every datagram `bytes` must arrive, in the order the
    // sender issued them, per veth pair: the kernel keeps the order of what leaves by one
    // interface, not across the two. The limited broadcasts all leave by the first network's.
    std::map<std::string, std::vector<std::string>> ExpectedCopiesPerNetwork() const {
        std::map<std::string, std::vector<std::string>> expected;
        const std::string first = NetworkOf(pcAddresses_.front());
        for (const std::uint32_t pc : pcAddresses_) {
            expected[NetworkOf(pc)].push_back(DottedHost(pc, 10));
        }
        for (const std::uint32_t pc : pcAddresses_) {
            expected[NetworkOf(pc)].push_back(DottedHost(pc, 255));
            expected[first].push_back("255.255.255.255");
        }
        return expected;
    }

    // The copies of `bytes` the simulator has received, by network, in arrival order.
    std::map<std::string, std::vector<std::string>> CopiesPerNetwork(
        const std::vector<Datagram>& record, const Bytes& bytes) const {
        std::map<std::string, std::vector<std::string>> got;
        const std::string first = NetworkOf(pcAddresses_.front());
        for (const Datagram& d : Since(record)) {
            if (d.direction == Direction::Received && d.bytes == bytes) {
                const std::string network =
                    d.local == "255.255.255.255"
                        ? first
                        : NetworkOf(plat::NetToHost32(plat::inet_addr(d.local.c_str())));
                got[network].push_back(d.local);
            }
        }
        return got;
    }

    // Waits until every copy of `request` has arrived, in order per network, and checks it.
    void ExpectEveryCopyInOrder(const Bytes& request, std::chrono::seconds timeout,
                                const std::string& note) const {
        const auto expected = ExpectedCopiesPerNetwork();
        const auto record = devsim_record::WaitFor(
            recordPath_,
            [&](const std::vector<Datagram>& r) {
                return CopiesPerNetwork(r, request) == expected;
            },
            timeout);
        EXPECT_EQ(CopiesPerNetwork(record, request), expected) << note;
    }

    // Sends `request` through the sender in a child that ends the program right after the call
    // (the end of the program hands over what still waits); how long the child took to end.
    std::chrono::milliseconds SendAndEndTheProgram(const Bytes& request, bool oneStockBuffer) {
        GTEST_FLAG_SET(death_test_style, "threadsafe");
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EXIT(
            {
                if (oneStockBuffer) {
                    UseASocketAskingForOneStockBuffer();
                }
                {
                    plat::CaptureOutput quiet;
                    net::SendToAllAdapters(socket_, reinterpret_cast<const char*>(request.data()),
                                           static_cast<int>(request.size()));
                }
                std::exit(0);
            },
            ::testing::ExitedWithCode(0), "");
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
    }

    static std::string NetworkOf(std::uint32_t hostOrder) {
        return DottedHost(hostOrder, 0) + "/24";
    }
    static std::string DottedHost(std::uint32_t hostOrder, std::uint32_t host) {
        return nstest::DottedText((hostOrder & 0xFFFFFF00u) | host);
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

// The sender runs on the UI thread and must never wait for address resolution. With a send
// buffer that one long sweep fills, the call used to block for 3 s per /24; now it returns at
// once and the socket layer hands the rest over as room comes back, every copy in order.
TEST_F(SenderOnTheWire, ALongRequestBeyondTheSendBufferReturnsAtOnceAndArrivesWholeInOrder) {
    ASSERT_NO_FATAL_FAILURE(UseASocketAskingForOneStockBuffer());
    const Bytes request = LongRequest(0x5E11D000);
    std::string log;
    const auto start = std::chrono::steady_clock::now();
    {
        plat::CaptureOutput capture;
        EXPECT_EQ(net::SendToAllAdapters(socket_, reinterpret_cast<const char*>(request.data()),
                                         static_cast<int>(request.size())),
                  0);
        log = capture.StandardOutput();
    }
    const auto call = std::chrono::steady_clock::now() - start;
    // Generous for a loaded machine: the blocking sweep took 3,000 ms and more.
    EXPECT_LT(call, std::chrono::milliseconds(1000));
    EXPECT_EQ(log.find("Sendto failed"), std::string::npos) << log;

    EXPECT_GT(plat::testing::QueuedDatagrams(socket_), 0u) << "the buffer did not run full";
    ExpectEveryCopyInOrder(
        request, kLongSweepTimeout,
        "the call took " +
            std::to_string(std::chrono::duration_cast<std::chrono::milliseconds>(call).count()) +
            " ms");
}

// Behind datagrams that wait for room a send cannot be tried; what could not go at all must
// still fail at once, as the sender's "Sendto failed" line says, and never be queued.
TEST_F(SenderOnTheWire, WhatCannotGoAtAllFailsAtOnceAlsoBehindWaitingDatagrams) {
    ASSERT_NO_FATAL_FAILURE(UseASocketAskingForOneStockBuffer());
    const Bytes request = LongRequest(0x0DDBA11);
    {
        plat::CaptureOutput quiet;
        net::SendToAllAdapters(socket_, reinterpret_cast<const char*>(request.data()),
                               static_cast<int>(request.size()));
    }
    enum class Condition { kAsSetUp, kBroadcastOptionOff, kNoLimitedBroadcastRoute };
    struct Case {
        const char* what;
        std::string destination;
        Condition condition;
        int error;  // 0: accepted
    };
    // The accepted send comes first: a route check from the source address it fixed would let
    // the limited broadcast through without a route.
    const Case cases[] = {
        {"a host of the network", DottedHost(pcAddresses_.front(), 77), Condition::kAsSetUp, 0},
        {"no route", "192.0.2.1", Condition::kAsSetUp, plat::WSAENETUNREACH},
        {"a broadcast without the broadcast option", DottedHost(pcAddresses_.front(), 255),
         Condition::kBroadcastOptionOff, plat::WSAEACCES},
        {"the limited broadcast without its route", "255.255.255.255",
         Condition::kNoLimitedBroadcastRoute, plat::WSAENETUNREACH},
    };
    for (const Case& c : cases) {
        ASSERT_GT(plat::testing::QueuedDatagrams(socket_), 0u) << c.what << ": nothing waits";
        std::optional<WithoutLimitedBroadcastRoute> unrouted;
        if (c.condition == Condition::kNoLimitedBroadcastRoute) {
            unrouted.emplace();
            ASSERT_TRUE(unrouted->Removed());
        }
        char broadcast = c.condition == Condition::kBroadcastOptionOff ? 0 : 1;
        ASSERT_EQ(plat::setsockopt(socket_, plat::kSolSocket, plat::kSoBroadcast, &broadcast, 1),
                  0);

        const plat::SockAddrIn to = Destination(c.destination);
        const int result = plat::sendto(socket_, reinterpret_cast<const char*>(request.data()),
                                        static_cast<int>(request.size()), 0, &to, sizeof to);
        const int error = plat::WSAGetLastError();

        broadcast = 1;
        ASSERT_EQ(plat::setsockopt(socket_, plat::kSolSocket, plat::kSoBroadcast, &broadcast, 1),
                  0);
        if (c.error == 0) {
            EXPECT_EQ(result, static_cast<int>(request.size())) << c.what;
        } else {
            EXPECT_EQ(result, plat::SOCKET_ERROR) << c.what;
            EXPECT_EQ(error, c.error) << c.what;
        }
    }
}

// Datagrams still waiting for room when the program ends are handed over before it exits,
// within the socket layer's bound (7 s), so the last broadcasts of a request are not lost.
TEST_F(SenderOnTheWire, WhatStillWaitsWhenTheProgramEndsIsSentBeforeItExits) {
    const Bytes request = LongRequest(0xE417F1A5);
    const auto exited = SendAndEndTheProgram(request, true);
    EXPECT_LT(exited, std::chrono::seconds(9));
    // Handed to the kernel before the exit; the simulator has them a moment later.
    ExpectEveryCopyInOrder(request, std::chrono::seconds(2),
                           "the program took " + std::to_string(exited.count()) + " ms to end");
}

// The endpoint as an unprivileged program on a stock kernel sets it up: each kernel socket is
// granted 425,984 bytes however much the endpoint asks for.
class SenderOnTheWireAtTheStockBuffer : public SenderOnTheWire {
  protected:
    void SetUp() override {
        plat::testing::CapKernelSocketBuffers(kStockBufferCap);
        SenderOnTheWire::SetUp();
    }
};

// The endpoint asks for 8 MB of send buffer: a 724-byte request to every host of two /24s and
// the broadcasts is in the kernel's hands when the call returns, nothing left to the socket
// layer's queue, and leaves in the order it was sent.
TEST_F(SenderOnTheWireAtTheStockBuffer, ALongRequestIsHeldByTheKernelWhenTheCallReturns) {
    const Bytes request = LongRequest(0x4E1D0000);
    {
        plat::CaptureOutput quiet;
        EXPECT_EQ(net::SendToAllAdapters(socket_, reinterpret_cast<const char*>(request.data()),
                                         static_cast<int>(request.size())),
                  0);
    }
    EXPECT_EQ(plat::testing::QueuedDatagrams(socket_), 0u);
    ExpectEveryCopyInOrder(request, kLongSweepTimeout, "");
}

// So the program may end right after such a request: it does not wait, and every copy still
// goes out.
TEST_F(SenderOnTheWireAtTheStockBuffer, TheProgramMayEndRightAfterALongRequest) {
    const Bytes request = LongRequest(0xE417F1A6);
    const auto exited = SendAndEndTheProgram(request, false);
    // Generous for a loaded machine; the hand-over of a queue would take 3 s and more.
    EXPECT_LT(exited, std::chrono::seconds(2));
    ExpectEveryCopyInOrder(request, kLongSweepTimeout,
                           "the program took " + std::to_string(exited.count()) + " ms to end");
}

}  // namespace
