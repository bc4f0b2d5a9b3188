// A real socket that asks for more buffer than one kernel socket is granted: the layer's group of
// kernel sockets behind it, on loop-back only (sources 127.0.0.2 and up; nothing leaves the
// machine). The stock-kernel cap stands in for an unprivileged program on a stock kernel.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/kernel.h"
#include "platform/output.h"
#include "platform/sockets.h"

namespace {

using plat::bind;
using plat::CaptureOutput;
using plat::CloseHandle;
using plat::closesocket;
using plat::CreateThread;
using plat::DWORD;
using plat::getsockname;
using plat::HANDLE;
using plat::HostToNet16;
using plat::HostToNet32;
using plat::INVALID_SOCKET;
using plat::ioctlsocket;
using plat::kAfInet;
using plat::kFionread;
using plat::kMsgPeek;
using plat::kSoBroadcast;
using plat::kSockDgram;
using plat::kSolSocket;
using plat::kSoRcvBuf;
using plat::kSoSndBuf;
using plat::kWsaFlagOverlapped;
using plat::NetToHost16;
using plat::recvfrom;
using plat::sendto;
using plat::setsockopt;
using plat::Sleep;
using plat::SockAddrIn;
using plat::SOCKET;
using plat::SOCKET_ERROR;
using plat::TerminateThread;
using plat::WSAEINTR;
using plat::WSAEMSGSIZE;
using plat::WSAGetLastError;
using plat::WSASocketW;

constexpr std::uint32_t kLoopback = 0x7F000001;
constexpr int kStockCap = 212992;  // net.core.rmem_max = wmem_max of a stock kernel
constexpr int kEightMegabytes = 8 * 1024 * 1024;
// A device-information reply with three interfaces.
constexpr std::size_t kReplyBytes = 884;

class StockKernel : public ::testing::Test {
  protected:
    void SetUp() override { plat::testing::CapKernelSocketBuffers(kStockCap); }
    void TearDown() override {
        for (const SOCKET s : sockets_) {
            closesocket(s);
        }
        for (const int fd : senders_) {
            close(fd);
        }
        plat::testing::CapKernelSocketBuffers(0);
    }

    // A socket set up as the tool's endpoint is, asking for these buffers (0: not asked), bound
    // to 127.0.0.1 on a port the system chooses.
    SOCKET Open(int receive, int send) {
        const SOCKET s = WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, kWsaFlagOverlapped);
        EXPECT_NE(s, INVALID_SOCKET);
        sockets_.push_back(s);
        const char one = 1;
        EXPECT_EQ(setsockopt(s, kSolSocket, kSoBroadcast, &one, 1), 0);
        for (const auto& [option, size] : {std::pair{kSoSndBuf, send}, {kSoRcvBuf, receive}}) {
            if (size > 0) {
                EXPECT_EQ(setsockopt(s, kSolSocket, option, reinterpret_cast<const char*>(&size),
                                     sizeof size),
                          0);
            }
        }
        SockAddrIn local{};
        local.sin_family = kAfInet;
        local.sin_addr.s_addr = HostToNet32(kLoopback);
        EXPECT_EQ(bind(s, &local, sizeof local), 0);
        return s;
    }

    static std::uint16_t PortOf(SOCKET s) {
        SockAddrIn bound{};
        int length = sizeof bound;
        EXPECT_EQ(getsockname(s, &bound, &length), 0);
        return NetToHost16(bound.sin_port);
    }

    // A sender from 127.0.0.(2 + index).
    int Sender(int index) {
        const int fd = ::socket(AF_INET, SOCK_DGRAM, 0);
        sockaddr_in source{};
        source.sin_family = AF_INET;
        source.sin_addr.s_addr = htonl(kLoopback + 1 + static_cast<std::uint32_t>(index));
        EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&source), sizeof source), 0);
        senders_.push_back(fd);
        return fd;
    }

    static void SendTo(int fd, std::uint16_t port, const std::string& text, std::size_t size) {
        std::string bytes = text;
        bytes.resize(size, '.');
        sockaddr_in to{};
        to.sin_family = AF_INET;
        to.sin_port = htons(port);
        to.sin_addr.s_addr = htonl(kLoopback);
        ASSERT_EQ(::sendto(fd, bytes.data(), bytes.size(), 0,
                           reinterpret_cast<const sockaddr*>(&to), sizeof to),
                  static_cast<ssize_t>(bytes.size()));
    }

    // The text at the start of the next datagram, or "" when none is queued.
    static std::string NextText(SOCKET s, SockAddrIn* from = nullptr) {
        unsigned long queued = 0;
        if (ioctlsocket(s, kFionread, &queued) != 0 || queued == 0) {
            return "";
        }
        std::vector<char> buffer(65536);
        SockAddrIn source{};
        int sourceLength = sizeof source;
        const int length =
            recvfrom(s, buffer.data(), static_cast<int>(buffer.size()), 0, &source, &sourceLength);
        if (length < 0) {
            return "";
        }
        if (from != nullptr) {
            *from = source;
        }
        const std::string text(buffer.data(), static_cast<std::size_t>(length));
        return text.substr(0, text.find('.'));
    }

    std::vector<SOCKET> sockets_;
    std::vector<int> senders_;
};

TEST_F(StockKernel, AsManyKernelSocketsAsTheAskedBuffersNeed) {
    struct Case {
        int receive;
        int send;
        std::size_t kernelSockets;  // each holds 425,984 bytes
    };
    const Case cases[] = {
        {kEightMegabytes, kEightMegabytes, 20},
        {kEightMegabytes, 0, 20},
        {0, kEightMegabytes, 20},
        {1024 * 1024, 0, 3},
        {kStockCap, kStockCap, 1},  // the kernel doubles it: one socket holds it
        {0, 0, 1},
    };
    for (const Case& c : cases) {
        const SOCKET s = Open(c.receive, c.send);
        EXPECT_EQ(plat::testing::KernelSockets(s), c.kernelSockets)
            << "receive " << c.receive << ", send " << c.send;
    }
}

// 200 devices answering every copy of a search at once, while nobody receives (a result box
// holds the worker): one kernel socket keeps 184 of the 600 replies; the group keeps them all,
// and gives them in the order they arrived.
TEST_F(StockKernel, ABurstNobodyReceivesIsKeptWholeAndComesOutInArrivalOrder) {
    const SOCKET s = Open(kEightMegabytes, kEightMegabytes);
    const std::uint16_t port = PortOf(s);
    constexpr int kDevices = 200;
    std::vector<int> devices;
    for (int d = 0; d < kDevices; ++d) {
        devices.push_back(Sender(d));
    }
    std::vector<std::string> sent;
    for (int copy = 0; copy < 3; ++copy) {
        for (int d = 0; d < kDevices; ++d) {
            const std::string text = "device" + std::to_string(d) + "copy" + std::to_string(copy);
            ASSERT_NO_FATAL_FAILURE(
                SendTo(devices[static_cast<std::size_t>(d)], port, text, kReplyBytes));
            sent.push_back(text);
        }
    }
    std::vector<std::string> received;
    for (std::string text; !(text = NextText(s)).empty();) {
        received.push_back(text);
    }
    EXPECT_EQ(received.size(), sent.size());
    EXPECT_EQ(received, sent);
}

// FIONREAD and a peek look at the oldest datagram of the whole group, and leave it queued.
TEST_F(StockKernel, PeekAndSizeQueryShowTheOldestDatagramOfTheGroup) {
    const SOCKET s = Open(kEightMegabytes, 0);
    ASSERT_GT(plat::testing::KernelSockets(s), 1u);
    const std::uint16_t port = PortOf(s);
    // Consecutive sources wait in different kernel sockets.
    ASSERT_NO_FATAL_FAILURE(SendTo(Sender(1), port, "first", 10));
    ASSERT_NO_FATAL_FAILURE(SendTo(Sender(0), port, "second", 20));

    unsigned long queued = 0;
    ASSERT_EQ(ioctlsocket(s, kFionread, &queued), 0);
    EXPECT_EQ(queued, 10u);
    char buffer[64] = {};
    SockAddrIn from{};
    int fromLength = sizeof from;
    EXPECT_EQ(recvfrom(s, buffer, sizeof buffer, kMsgPeek, &from, &fromLength), 10);
    EXPECT_EQ(std::string(buffer, 5), "first");
    EXPECT_EQ(from.sin_addr.s_addr, HostToNet32(kLoopback + 2));

    EXPECT_EQ(NextText(s), "first");
    EXPECT_EQ(NextText(s), "second");
    ASSERT_EQ(ioctlsocket(s, kFionread, &queued), 0);
    EXPECT_EQ(queued, 0u);
}

// A datagram longer than the buffer fills it and is reported as too long, whichever kernel socket
// of the group holds it; the next one comes whole.
TEST_F(StockKernel, ALongDatagramFillsTheBufferAndReportsTooLong) {
    const SOCKET s = Open(kEightMegabytes, 0);
    const std::uint16_t port = PortOf(s);
    ASSERT_NO_FATAL_FAILURE(SendTo(Sender(3), port, "long", 100));
    ASSERT_NO_FATAL_FAILURE(SendTo(Sender(4), port, "short", 8));
    char buffer[16] = {};
    EXPECT_EQ(recvfrom(s, buffer, sizeof buffer, 0, nullptr, nullptr), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEMSGSIZE);
    EXPECT_EQ(std::string(buffer, 4), "long");
    EXPECT_EQ(NextText(s), "short");
}

// Two tools on one machine: each group has a port of its own, and what is sent to one port
// reaches that socket only.
TEST_F(StockKernel, EveryGroupHasAPortOfItsOwn) {
    std::vector<SOCKET> tools;
    std::vector<std::uint16_t> ports;
    for (int i = 0; i < 8; ++i) {
        tools.push_back(Open(kEightMegabytes, kEightMegabytes));
        ports.push_back(PortOf(tools.back()));
        for (std::size_t j = 0; j + 1 < ports.size(); ++j) {
            ASSERT_NE(ports[j], ports.back());
        }
    }
    const int sender = Sender(7);
    for (std::size_t i = 0; i < tools.size(); ++i) {
        ASSERT_NO_FATAL_FAILURE(SendTo(sender, ports[i], "to" + std::to_string(i), 40));
    }
    for (std::size_t i = 0; i < tools.size(); ++i) {
        EXPECT_EQ(NextText(tools[i]), "to" + std::to_string(i));
        EXPECT_EQ(NextText(tools[i]), "");
    }
}

// Sends from the group leave from its one port, to any destination.
TEST_F(StockKernel, SendsGoOutFromTheOnePort) {
    const SOCKET s = Open(kEightMegabytes, kEightMegabytes);
    const SOCKET peer = Open(0, 0);
    SockAddrIn to{};
    to.sin_family = kAfInet;
    to.sin_port = HostToNet16(PortOf(peer));
    to.sin_addr.s_addr = HostToNet32(kLoopback);
    for (int i = 0; i < 50; ++i) {
        const std::string text = "send" + std::to_string(i);
        ASSERT_EQ(sendto(s, text.data(), static_cast<int>(text.size()), 0, &to, sizeof to),
                  static_cast<int>(text.size()));
    }
    for (int i = 0; i < 50; ++i) {
        SockAddrIn from{};
        EXPECT_EQ(NextText(peer, &from), "send" + std::to_string(i));
        EXPECT_EQ(NetToHost16(from.sin_port), PortOf(s));
    }
}

// Ending the receiving thread wakes its receive at once, also while datagrams keep coming.
TEST_F(StockKernel, EndingTheThreadWakesTheReceiveDuringAStreamOfDatagrams) {
    struct Receiver {
        SOCKET socket;
        std::atomic<int> received{0};
        std::atomic<int> lastError{0};
    } receiver{Open(kEightMegabytes, 0)};
    const std::uint16_t port = PortOf(receiver.socket);
    const HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* parameter) -> DWORD {
            auto* r = static_cast<Receiver*>(parameter);
            char buffer[64];
            while (recvfrom(r->socket, buffer, sizeof buffer, 0, nullptr, nullptr) > 0) {
                ++r->received;
            }
            r->lastError = WSAGetLastError();
            return 0;
        },
        &receiver, 0, nullptr);
    ASSERT_NE(thread, nullptr);

    std::atomic<bool> streaming{true};
    std::vector<int> sources;
    for (int i = 0; i < 8; ++i) {
        sources.push_back(Sender(20 + i));
    }
    std::thread stream([&] {
        for (std::size_t i = 0; streaming.load(); ++i) {
            SendTo(sources[i % sources.size()], port, "tick", 32);
        }
    });
    for (int waited = 0; waited < 5000 && receiver.received.load() < 1000; ++waited) {
        Sleep(1);
    }
    EXPECT_GE(receiver.received.load(), 1000);
    EXPECT_EQ(TerminateThread(thread, 0), TRUE);  // returns once the thread has ended
    EXPECT_EQ(receiver.lastError.load(), WSAEINTR);
    streaming = false;
    stream.join();
    CloseHandle(thread);
}

// Where the group cannot be made (here: no descriptors left for its members), the socket works
// as one kernel socket, and the program says so once.
TEST_F(StockKernel, WithoutAGroupOneKernelSocketServesAndTheLogSaysSoOnce) {
    rlimit before{};
    ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &before), 0);
    std::string log;
    std::vector<SOCKET> opened;
    for (int i = 0; i < 2; ++i) {
        const SOCKET s = WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, kWsaFlagOverlapped);
        ASSERT_NE(s, INVALID_SOCKET);
        opened.push_back(s);
        sockets_.push_back(s);
        const int size = kEightMegabytes;
        ASSERT_EQ(
            setsockopt(s, kSolSocket, kSoRcvBuf, reinterpret_cast<const char*>(&size), sizeof size),
            0);
        SockAddrIn local{};
        local.sin_family = kAfInet;
        local.sin_addr.s_addr = HostToNet32(kLoopback);
        // Only the bind runs without a free descriptor: the sanitizers' runtime needs some too.
        const int lowestFree = ::dup(0);
        ASSERT_GE(lowestFree, 0);
        ::close(lowestFree);
        rlimit none = before;
        none.rlim_cur = static_cast<rlim_t>(lowestFree);
        CaptureOutput capture;
        ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &none), 0);
        const int bound = bind(s, &local, sizeof local);
        setrlimit(RLIMIT_NOFILE, &before);
        log += capture.Debugger();
        ASSERT_EQ(bound, 0);
    }
    EXPECT_EQ(plat::testing::KernelSockets(opened[0]), 1u);
    const std::string line = "Only one kernel socket for port " + std::to_string(PortOf(opened[0]));
    EXPECT_EQ(log.rfind(line, 0), 0u) << log;
    EXPECT_EQ(log.find("Only one", 1), std::string::npos) << "said more than once: " << log;

    ASSERT_NO_FATAL_FAILURE(SendTo(Sender(9), PortOf(opened[0]), "still", 16));
    EXPECT_EQ(NextText(opened[0]), "still");
}

}  // namespace
