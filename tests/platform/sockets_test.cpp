// The real socket service, on loop-back sockets only: nothing here leaves 127.0.0.1.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/detail/posix_errors.h"
#include "platform/sockets.h"

namespace {

using namespace plat;

constexpr std::uint32_t kLoopback = 0x7F000001;  // 127.0.0.1, host order

TEST(SocketErrors, ErrnoValuesMapToSocketLibraryCodes) {
    struct Case {
        int errorNumber;
        int code;
    };
    const Case cases[] = {
        {EACCES, 10013},
        {ENETUNREACH, 10051},
        {EHOSTUNREACH, 10065},
        {ENOBUFS, 10055},
        {EMSGSIZE, 10040},
        {EADDRINUSE, 10048},
        {EADDRNOTAVAIL, 10049},
        {EAGAIN, 10035},
        {EBADF, 10038},
        {ENOTSOCK, 10038},
        {EINVAL, 10022},
        {EINTR, 10004},
        {EFAULT, 10014},
        {ENOPROTOOPT, 10042},
        {EAFNOSUPPORT, 10047},
        {ENETDOWN, 10050},
        {EMFILE, 10024},
        {EPERM, 10000 + EPERM},
        {ECONNREFUSED, 10000 + ECONNREFUSED},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(detail::WsaErrorFromErrno(c.errorNumber), c.code) << std::strerror(c.errorNumber);
    }
}

TEST(AddressText, DottedTextBothWays) {
    struct Case {
        const char* text;
        std::uint32_t hostOrder;
    };
    const Case cases[] = {
        {"192.168.1.77", 0xC0A8014D}, {"0.0.0.0", 0},          {"255.255.255.0", 0xFFFFFF00},
        {"10.1.255.255", 0x0A01FFFF}, {"1.2.3.4", 0x01020304},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(inet_addr(c.text), HostToNet32(c.hostOrder)) << c.text;
        const InAddr address{HostToNet32(c.hostOrder)};
        EXPECT_STREQ(inet_ntoa(address), c.text);
        char text[22];
        EXPECT_EQ(inet_ntop(kAfInet, &address.s_addr, text, sizeof text), text);
        EXPECT_STREQ(text, c.text);
    }
}

TEST(AddressText, InetAddrRefusesWhatIsNoAddress) {
    for (const char* text :
         {"", "1.2.3.4.5", "256.1.1.1", "1.2.3.", "a.b.c.d", "1..2.3", "1.2.3.4x", "08.1.1.1"}) {
        EXPECT_EQ(inet_addr(text), 0xFFFFFFFFu) << text;
    }
    EXPECT_EQ(inet_addr(nullptr), 0xFFFFFFFFu);
    // The classic short and based forms.
    EXPECT_EQ(inet_addr("127.1"), HostToNet32(kLoopback));
    EXPECT_EQ(inet_addr("0x7f.0.0.01"), HostToNet32(kLoopback));
}

TEST(AddressText, InetNtopNeedsRoomForTheWholeText) {
    const std::uint32_t address = inet_addr("255.255.255.255");
    char text[16];
    EXPECT_EQ(inet_ntop(kAfInet, &address, text, 15), nullptr);
    EXPECT_EQ(inet_ntop(kAfInet, &address, text, 16), text);
    EXPECT_EQ(inet_ntop(23, &address, text, 16), nullptr);
}

TEST(RealSockets, StartupTakesBothVersionsAndCanBeMadeToFail) {
    SocketService& real = RealSocketService();
    WSAData data{};
    EXPECT_EQ(real.WSAStartup(0x0101, &data), 0);
    EXPECT_EQ(data.wVersion, 0x0101);
    EXPECT_EQ(real.WSAStartup(0x0202, &data), 0);
    EXPECT_EQ(data.wVersion, 0x0202);
    EXPECT_EQ(real.WSACleanup(), 0);
    EXPECT_EQ(real.WSACleanup(), 0);

    plat::testing::FailSocketStartup(true);
    EXPECT_EQ(real.WSAStartup(0x0101, &data), WSASYSNOTREADY);
    plat::testing::FailSocketStartup(false);
}

TEST(RealSockets, CallsOnNoSocketFailWithNotSocket) {
    SocketService& real = RealSocketService();
    const char one = 1;
    SockAddrIn address{};
    int length = 16;
    EXPECT_EQ(real.setsockopt(INVALID_SOCKET, kSolSocket, kSoBroadcast, &one, 1), SOCKET_ERROR);
    EXPECT_EQ(real.WSAGetLastError(), WSAENOTSOCK);
    EXPECT_EQ(real.bind(INVALID_SOCKET, &address, 16), SOCKET_ERROR);
    EXPECT_EQ(real.WSAGetLastError(), WSAENOTSOCK);
    EXPECT_EQ(real.getsockname(INVALID_SOCKET, &address, &length), SOCKET_ERROR);
    EXPECT_EQ(real.WSAGetLastError(), WSAENOTSOCK);

    const SOCKET s = real.WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, kWsaFlagOverlapped);
    ASSERT_NE(s, INVALID_SOCKET);
    EXPECT_EQ(real.closesocket(s), 0);
    EXPECT_EQ(real.closesocket(s), SOCKET_ERROR);
    EXPECT_EQ(real.WSAGetLastError(), WSAENOTSOCK);
}

class LoopbackSocket : public ::testing::Test {
  protected:
    void SetUp() override {
        socket_ = real_.WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, kWsaFlagOverlapped);
        ASSERT_NE(socket_, INVALID_SOCKET);
        SockAddrIn local{};
        local.sin_family = kAfInet;
        local.sin_addr.s_addr = HostToNet32(kLoopback);
        ASSERT_EQ(real_.bind(socket_, &local, sizeof local), 0);
        int length = sizeof address_;
        ASSERT_EQ(real_.getsockname(socket_, &address_, &length), 0);
        ASSERT_EQ(length, 16);
        ASSERT_EQ(address_.sin_addr.s_addr, HostToNet32(kLoopback));
        ASSERT_NE(address_.sin_port, 0);
    }
    void TearDown() override { real_.closesocket(socket_); }

    // Sends to this very socket on 127.0.0.1.
    void SendToSelf(const std::string& bytes) {
        ASSERT_EQ(address_.sin_addr.s_addr, HostToNet32(kLoopback));
        ASSERT_EQ(real_.sendto(socket_, bytes.data(), static_cast<int>(bytes.size()), 0, &address_,
                               sizeof address_),
                  static_cast<int>(bytes.size()));
    }

    SocketService& real_ = RealSocketService();
    SOCKET socket_ = INVALID_SOCKET;
    SockAddrIn address_{};
};

TEST_F(LoopbackSocket, OneByteBroadcastOptionIsAcceptedAndTakesEffect) {
    const char one = 1;
    ASSERT_EQ(real_.setsockopt(socket_, kSolSocket, kSoBroadcast, &one, 1), 0);
    int value = 0;
    socklen_t length = sizeof value;
    ASSERT_EQ(::getsockopt(static_cast<int>(socket_), SOL_SOCKET, SO_BROADCAST, &value, &length),
              0);
    EXPECT_EQ(value, 1);

    const int off = 0;
    ASSERT_EQ(real_.setsockopt(socket_, kSolSocket, kSoBroadcast,
                               reinterpret_cast<const char*>(&off), sizeof off),
              0);
    ASSERT_EQ(::getsockopt(static_cast<int>(socket_), SOL_SOCKET, SO_BROADCAST, &value, &length),
              0);
    EXPECT_EQ(value, 0);
}

TEST_F(LoopbackSocket, BufferSizesAreAskedForWithoutFailingWhenCapped) {
    const int size = 8 * 1024 * 1024;
    for (int option : {kSoSndBuf, kSoRcvBuf}) {
        EXPECT_EQ(real_.setsockopt(socket_, kSolSocket, option,
                                   reinterpret_cast<const char*>(&size), sizeof size),
                  0);
    }
    int granted = 0;
    socklen_t length = sizeof granted;
    ASSERT_EQ(::getsockopt(static_cast<int>(socket_), SOL_SOCKET, SO_RCVBUF, &granted, &length), 0);
    EXPECT_GT(granted, 0);
    const int flags = ::fcntl(static_cast<int>(socket_), F_GETFL);
    EXPECT_EQ(flags & O_NONBLOCK, 0);
}

// The stock-kernel emulation that tests and benchmarks use: what an unprivileged program gets
// there, also when the test runs as root.
TEST_F(LoopbackSocket, CappedBufferSizesAreGrantedAsAStockKernelGrantsThem) {
    constexpr int kStockCap = 212992;
    plat::testing::CapKernelSocketBuffers(kStockCap);
    const int size = 8 * 1024 * 1024;
    for (const auto& [option, posixOption] :
         {std::pair{kSoSndBuf, SO_SNDBUF}, {kSoRcvBuf, SO_RCVBUF}}) {
        EXPECT_EQ(real_.setsockopt(socket_, kSolSocket, option,
                                   reinterpret_cast<const char*>(&size), sizeof size),
                  0);
        int granted = 0;
        socklen_t length = sizeof granted;
        ASSERT_EQ(
            ::getsockopt(static_cast<int>(socket_), SOL_SOCKET, posixOption, &granted, &length), 0);
        EXPECT_EQ(granted, 2 * kStockCap) << "the kernel doubles what it is asked for";
    }
    plat::testing::CapKernelSocketBuffers(0);
}

TEST_F(LoopbackSocket, ReceiveGivesDatagramAndSource) {
    SendToSelf("hello");
    unsigned long queued = 0;
    ASSERT_EQ(real_.ioctlsocket(socket_, kFionread, &queued), 0);
    EXPECT_EQ(queued, 5u);

    char buffer[64] = {};
    SockAddrIn from{};
    int fromLength = sizeof from;
    ASSERT_EQ(real_.recvfrom(socket_, buffer, sizeof buffer, 0, &from, &fromLength), 5);
    EXPECT_STREQ(buffer, "hello");
    EXPECT_EQ(fromLength, 16);
    EXPECT_EQ(from.sin_family, kAfInet);
    EXPECT_EQ(from.sin_addr.s_addr, HostToNet32(kLoopback));
    EXPECT_EQ(from.sin_port, address_.sin_port);

    ASSERT_EQ(real_.ioctlsocket(socket_, kFionread, &queued), 0);
    EXPECT_EQ(queued, 0u);
}

TEST_F(LoopbackSocket, LongDatagramFillsTheBufferAndReportsTooLong) {
    SendToSelf("0123456789");
    SendToSelf("next");
    char buffer[4] = {};
    EXPECT_EQ(real_.recvfrom(socket_, buffer, sizeof buffer, 0, nullptr, nullptr), SOCKET_ERROR);
    EXPECT_EQ(real_.WSAGetLastError(), WSAEMSGSIZE);
    EXPECT_EQ(std::string(buffer, 4), "0123");
    // The rest of that datagram is gone; the next one is whole.
    EXPECT_EQ(real_.recvfrom(socket_, buffer, sizeof buffer, 0, nullptr, nullptr), 4);
    EXPECT_EQ(std::string(buffer, 4), "next");
}

TEST_F(LoopbackSocket, SendsThatCannotGoFailAtOnce) {
    const std::string largest(65507, 'x');
    EXPECT_EQ(real_.sendto(socket_, largest.data(), static_cast<int>(largest.size()), 0, &address_,
                           sizeof address_),
              65507);
    struct Case {
        const char* what;
        int length;
        int flags;
        int error;
    };
    const std::string tooLong(65508, 'x');
    const Case cases[] = {
        {"longer than an IPv4 datagram holds", 65508, 0, WSAEMSGSIZE},
        {"flags the layer does not know", 4, 0x4, WSAEINVAL},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            real_.sendto(socket_, tooLong.data(), c.length, c.flags, &address_, sizeof address_),
            SOCKET_ERROR)
            << c.what;
        EXPECT_EQ(real_.WSAGetLastError(), c.error) << c.what;
    }
}

TEST_F(LoopbackSocket, PeekLeavesTheDatagramQueued) {
    SendToSelf("abc");
    char buffer[8] = {};
    EXPECT_EQ(real_.recvfrom(socket_, buffer, sizeof buffer, kMsgPeek, nullptr, nullptr), 3);
    EXPECT_EQ(real_.recvfrom(socket_, buffer, sizeof buffer, 0, nullptr, nullptr), 3);
    EXPECT_STREQ(buffer, "abc");
}

TEST_F(LoopbackSocket, NonBlockingModeIsRefused) {
    unsigned long on = 1;
    constexpr long kFionbio = 0x8004667E;
    EXPECT_EQ(real_.ioctlsocket(socket_, kFionbio, &on), SOCKET_ERROR);
    EXPECT_EQ(real_.WSAGetLastError(), WSAEINVAL);
}

}  // namespace
