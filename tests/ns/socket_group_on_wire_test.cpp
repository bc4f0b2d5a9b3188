// The socket layer's group of kernel sockets behind one socket, where broadcasts and the
// namespace's own port range come in: inside the private network only (netns-run).
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "platform/sockets.h"

namespace {

constexpr int kStockCap = 212992;
constexpr int kEightMegabytes = 8 * 1024 * 1024;
constexpr std::uint32_t kLoopback = 0x7F000001;
constexpr std::uint32_t kPcAddress = 0xC6336401;          // 198.51.100.1
constexpr std::uint32_t kDirectedBroadcast = 0xC63364FF;  // 198.51.100.255
constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFF;
constexpr const char* kPortRange = "/proc/sys/net/ipv4/ip_local_port_range";

class SocketGroupOnTheWire : public ::testing::Test {
  protected:
    void SetUp() override {
        plat::WSAData data{};
        ASSERT_EQ(plat::WSAStartup(0x0202, &data), 0);
        plat::testing::CapKernelSocketBuffers(kStockCap);
    }
    void TearDown() override {
        for (const plat::SOCKET s : tools_) {
            plat::closesocket(s);
        }
        for (const int fd : posix_) {
            close(fd);
        }
        plat::testing::CapKernelSocketBuffers(0);
        plat::WSACleanup();
    }

    // A socket set up as the tool's endpoint is; INVALID_SOCKET when its bind fails (the last
    // error then says why).
    plat::SOCKET OpenTool() {
        const plat::SOCKET s = plat::WSASocketW(plat::kAfInet, plat::kSockDgram, 0, nullptr, 0,
                                                plat::kWsaFlagOverlapped);
        EXPECT_NE(s, plat::INVALID_SOCKET);
        const char one = 1;
        plat::setsockopt(s, plat::kSolSocket, plat::kSoBroadcast, &one, 1);
        const int bytes = kEightMegabytes;
        for (const int option : {plat::kSoSndBuf, plat::kSoRcvBuf}) {
            plat::setsockopt(s, plat::kSolSocket, option, reinterpret_cast<const char*>(&bytes),
                             sizeof bytes);
        }
        plat::SockAddrIn local{};
        local.sin_family = plat::kAfInet;
        if (plat::bind(s, &local, sizeof local) != 0) {
            const int error = plat::WSAGetLastError();
            plat::closesocket(s);
            lastBindError_ = error;
            return plat::INVALID_SOCKET;
        }
        tools_.push_back(s);
        return s;
    }

    static std::uint16_t PortOf(plat::SOCKET s) {
        plat::SockAddrIn bound{};
        int length = sizeof bound;
        EXPECT_EQ(plat::getsockname(s, &bound, &length), 0);
        return plat::NetToHost16(bound.sin_port);
    }

    // A plain kernel socket bound to `address` (host order), port `port`.
    int Posix(std::uint32_t address, std::uint16_t port, bool reusePort = false) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        const int one = 1;
        ::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &one, sizeof one);
        if (reusePort) {
            ::setsockopt(fd, SOL_SOCKET, SO_REUSEPORT, &one, sizeof one);
        }
        sockaddr_in local{};
        local.sin_family = AF_INET;
        local.sin_port = htons(port);
        local.sin_addr.s_addr = htonl(address);
        EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&local), sizeof local), 0)
            << std::strerror(errno);
        posix_.push_back(fd);
        return fd;
    }

    static void SendTo(int fd, std::uint32_t address, std::uint16_t port, const std::string& text) {
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(address);
        ASSERT_EQ(::sendto(fd, text.data(), text.size(), 0, reinterpret_cast<const sockaddr*>(&to),
                           sizeof to),
                  static_cast<ssize_t>(text.size()))
            << std::strerror(errno);
    }

    // Everything queued for the tool's socket, in the order it is received.
    static std::vector<std::string> ReceiveAll(plat::SOCKET s) {
        std::vector<std::string> texts;
        for (;;) {
            unsigned long queued = 0;
            if (plat::ioctlsocket(s, plat::kFionread, &queued) != 0 || queued == 0) {
                return texts;
            }
            char buffer[256];
            const int length = plat::recvfrom(s, buffer, sizeof buffer, 0, nullptr, nullptr);
            if (length < 0) {
                return texts;
            }
            texts.emplace_back(buffer, static_cast<std::size_t>(length));
        }
    }

    std::vector<plat::SOCKET> tools_;
    std::vector<int> posix_;
    int lastBindError_ = 0;
};

// A broadcast to the tool's port reaches every kernel socket of its group; the tool receives it
// once, in its place among the unicast datagrams around it.
TEST_F(SocketGroupOnTheWire, ABroadcastToThePortIsReceivedOnceInItsPlace) {
    const plat::SOCKET tool = OpenTool();
    ASSERT_NE(tool, plat::INVALID_SOCKET);
    ASSERT_GT(plat::testing::KernelSockets(tool), 1u);
    const std::uint16_t port = PortOf(tool);
    const int broadcaster = Posix(kPcAddress, 0);
    std::vector<int> unicasts;
    for (std::uint32_t i = 0; i < 4; ++i) {
        unicasts.push_back(Posix(kLoopback + 1 + i, 0));
    }

    std::vector<std::string> sent;
    for (int round = 0; round < 10; ++round) {
        const std::string n = std::to_string(round);
        ASSERT_NO_FATAL_FAILURE(SendTo(unicasts[static_cast<std::size_t>(round) % unicasts.size()],
                                       kLoopback, port, "unicast " + n));
        sent.push_back("unicast " + n);
        ASSERT_NO_FATAL_FAILURE(SendTo(broadcaster, kDirectedBroadcast, port, "directed " + n));
        sent.push_back("directed " + n);
        ASSERT_NO_FATAL_FAILURE(SendTo(broadcaster, kLimitedBroadcast, port, "limited " + n));
        sent.push_back("limited " + n);
    }
    usleep(50'000);  // the looped-back copies of the broadcasts
    EXPECT_EQ(ReceiveAll(tool), sent);
}

// A socket of another program that joins the tool's port (same user, SO_REUSEPORT) takes none of
// the datagrams sent to the tool.
TEST_F(SocketGroupOnTheWire, ASocketThatJoinsThePortLaterGetsNoneOfTheToolsDatagrams) {
    const plat::SOCKET tool = OpenTool();
    ASSERT_NE(tool, plat::INVALID_SOCKET);
    const std::uint16_t port = PortOf(tool);
    const int intruder = Posix(0, port, true);
    std::vector<std::string> sent;
    for (std::uint32_t i = 0; i < 100; ++i) {
        const int sender = Posix(kLoopback + 1 + i, 0);
        sent.push_back("from " + std::to_string(i));
        ASSERT_NO_FATAL_FAILURE(SendTo(sender, kLoopback, port, sent.back()));
    }
    EXPECT_EQ(ReceiveAll(tool), sent);
    char byte;
    EXPECT_LT(::recv(intruder, &byte, 1, MSG_DONTWAIT), 0) << "the intruder got a datagram";
}

// With only four ports free, four tools get one each and a fifth gets none: no two share one.
TEST_F(SocketGroupOnTheWire, ToolsNeverShareAPortAlsoWhenFewAreFree) {
    std::string range;
    std::getline(std::ifstream(kPortRange), range);
    ASSERT_FALSE(range.empty());
    std::ofstream(kPortRange) << "40000 40003";
    std::set<std::uint16_t> ports;
    int opened = 0;
    for (int i = 0; i < 5; ++i) {
        const plat::SOCKET tool = OpenTool();
        if (tool == plat::INVALID_SOCKET) {
            EXPECT_EQ(lastBindError_, plat::WSAEADDRINUSE);
            continue;
        }
        ++opened;
        EXPECT_GT(plat::testing::KernelSockets(tool), 1u);
        ports.insert(PortOf(tool));
    }
    std::ofstream(kPortRange) << range;
    EXPECT_EQ(opened, 4);
    EXPECT_EQ(ports.size(), 4u);
}

}  // namespace
