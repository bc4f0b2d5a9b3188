#include <gtest/gtest.h>

#include "platform/sockets.h"
#include "platform/testing/fakes.h"

namespace {

using namespace plat;
using plat::testing::FakeNetwork;
using plat::testing::Ip;

SockAddrIn Destination(const char* dotted, std::uint16_t port) {
    SockAddrIn address{};
    address.sin_family = kAfInet;
    address.sin_port = HostToNet16(port);
    address.sin_addr.s_addr = Ip(dotted);
    return address;
}

// The set-up sequence through the free functions, as the tool makes it.
TEST(FakeNetwork, RecordsTheCallsOfASetUp) {
    FakeNetwork network;
    WSAData data{};
    ASSERT_EQ(WSAStartup(0x0202, &data), 0);
    const SOCKET s = WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, kWsaFlagOverlapped);
    ASSERT_NE(s, INVALID_SOCKET);
    const char one = 1;
    EXPECT_EQ(setsockopt(s, kSolSocket, kSoBroadcast, &one, 1), 0);
    const int size = 0x00800000;
    EXPECT_EQ(setsockopt(s, kSolSocket, kSoRcvBuf, reinterpret_cast<const char*>(&size), 4), 0);
    SockAddrIn local = Destination("0.0.0.0", 0);
    EXPECT_EQ(bind(s, &local, 16), 0);
    SockAddrIn bound{};
    int length = 16;
    network.SetBoundPort(50123);
    EXPECT_EQ(getsockname(s, &bound, &length), 0);
    EXPECT_EQ(NetToHost16(bound.sin_port), 50123);
    EXPECT_EQ(closesocket(s), 0);
    EXPECT_EQ(WSACleanup(), 0);

    const std::vector<std::string> expected = {
        "WSAStartup 0x0202",
        "WSASocketW 2 2 0 flags=0x1",
        "setsockopt 65535 32 len=1 value=01",
        "setsockopt 65535 4098 len=4 value=00008000",
        "bind 0.0.0.0:0 len=16",
        "getsockname len=16",
        "closesocket",
        "WSACleanup",
    };
    EXPECT_EQ(network.Calls(), expected);
    EXPECT_EQ(network.OpenSockets(), 0);
}

TEST(FakeNetwork, InjectedSetUpFailures) {
    FakeNetwork network;
    network.FailStartup(WSASYSNOTREADY);
    WSAData data{};
    EXPECT_EQ(WSAStartup(0x0101, &data), WSASYSNOTREADY);

    network.FailSocketCreation(WSAEMFILE);
    EXPECT_EQ(WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, 0), INVALID_SOCKET);
    EXPECT_EQ(WSAGetLastError(), WSAEMFILE);
    network.FailSocketCreation(0);

    const SOCKET s = WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, 0);
    SockAddrIn local = Destination("0.0.0.0", 0);
    SockAddrIn bound{};
    int length = 16;
    EXPECT_EQ(getsockname(s, &bound, &length), SOCKET_ERROR);  // not bound yet
    EXPECT_EQ(WSAGetLastError(), WSAEINVAL);
    network.FailBind(WSAEADDRINUSE);
    EXPECT_EQ(bind(s, &local, 16), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEADDRINUSE);
    network.FailBind(0);
    ASSERT_EQ(bind(s, &local, 16), 0);
    network.FailGetSockName(WSAENOBUFS);
    EXPECT_EQ(getsockname(s, &bound, &length), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOBUFS);

    const char one = 1;
    network.FailOption(kSoBroadcast, WSAENOPROTOOPT);
    EXPECT_EQ(setsockopt(s, kSolSocket, kSoBroadcast, &one, 1), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOPROTOOPT);
    const int size = 4096;
    EXPECT_EQ(setsockopt(s, kSolSocket, kSoSndBuf, reinterpret_cast<const char*>(&size), 4), 0);
    network.FailOption(kSoBroadcast, 0);
    EXPECT_EQ(setsockopt(s, kSolSocket, kSoBroadcast, &one, 1), 0);

    // A bind on no socket shows the invalid-socket code, as a failed creation would.
    EXPECT_EQ(bind(INVALID_SOCKET, &local, 16), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
}

TEST(FakeNetwork, SendsAreRecordedAndFailuresInjected) {
    FakeNetwork network;
    const SOCKET s = WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, 0);
    const std::string payload = "\x01\x02\x03";
    network.FailSendNumber(2, WSAENOBUFS);
    network.FailSendsTo(Ip("10.0.0.9"), WSAEHOSTUNREACH);

    struct Step {
        const char* address;
        int result;
        int error;
    };
    const Step steps[] = {
        {"10.0.0.1", 3, 0},
        {"10.0.0.2", SOCKET_ERROR, WSAENOBUFS},  // the second send from now
        {"10.0.0.9", SOCKET_ERROR, WSAEHOSTUNREACH},
        {"255.255.255.255", 3, 0},
        {"10.0.0.9", SOCKET_ERROR, WSAEHOSTUNREACH},
    };
    for (const Step& step : steps) {
        const SockAddrIn to = Destination(step.address, 5050);
        EXPECT_EQ(sendto(s, payload.data(), 3, 0, &to, 16), step.result) << step.address;
        if (step.error != 0) {
            EXPECT_EQ(WSAGetLastError(), step.error) << step.address;
        }
    }
    const std::vector<FakeNetwork::Sent> sent = network.SentDatagrams();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].AddressText(), "10.0.0.1");
    EXPECT_EQ(sent[0].port, 5050);
    EXPECT_EQ(sent[0].socket, s);
    EXPECT_EQ(sent[0].bytes, (std::vector<std::uint8_t>{1, 2, 3}));
    EXPECT_EQ(sent[1].AddressText(), "255.255.255.255");

    const SockAddrIn to = Destination("10.0.0.1", 5050);
    EXPECT_EQ(sendto(INVALID_SOCKET, payload.data(), 3, 0, &to, 16), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    EXPECT_EQ(sendto(s + 1000, payload.data(), 3, 0, &to, 16), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENOTSOCK);
    EXPECT_EQ(network.SentCount(), 2u);
    network.ClearSent();
    EXPECT_EQ(network.SentCount(), 0u);
}

TEST(FakeNetwork, ReceivesScriptedDatagramsInOrder) {
    FakeNetwork network;
    const SOCKET s = WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, 0);
    network.QueueDatagram({'a', 'b', 'c'}, Ip("192.168.1.10"), 5050);
    network.QueueReceiveError(WSAENETDOWN);
    network.QueueDatagram(std::vector<std::uint8_t>(10, 'x'), Ip("192.168.1.11"), 6000);
    network.QueueDatagram({'z'}, Ip("192.168.1.12"));

    unsigned long queued = 99;
    ASSERT_EQ(ioctlsocket(s, kFionread, &queued), 0);
    EXPECT_EQ(queued, 3u);

    char buffer[8] = {};
    SockAddrIn from{};
    int fromLength = 16;
    EXPECT_EQ(recvfrom(s, buffer, sizeof buffer, kMsgPeek, &from, &fromLength), 3);
    ASSERT_EQ(recvfrom(s, buffer, sizeof buffer, 0, &from, &fromLength), 3);
    EXPECT_EQ(std::string(buffer, 3), "abc");
    EXPECT_EQ(from.sin_family, kAfInet);
    EXPECT_EQ(from.sin_addr.s_addr, Ip("192.168.1.10"));
    EXPECT_EQ(NetToHost16(from.sin_port), 5050);
    EXPECT_EQ(fromLength, 16);

    EXPECT_EQ(recvfrom(s, buffer, sizeof buffer, 0, &from, &fromLength), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAENETDOWN);

    // Longer than the buffer: filled, reported as too long, the rest lost.
    EXPECT_EQ(recvfrom(s, buffer, sizeof buffer, 0, &from, &fromLength), SOCKET_ERROR);
    EXPECT_EQ(WSAGetLastError(), WSAEMSGSIZE);
    EXPECT_EQ(std::string(buffer, 8), "xxxxxxxx");
    EXPECT_EQ(from.sin_addr.s_addr, Ip("192.168.1.11"));

    EXPECT_EQ(recvfrom(s, buffer, sizeof buffer, 0, &from, &fromLength), 1);
    ASSERT_EQ(ioctlsocket(s, kFionread, &queued), 0);
    EXPECT_EQ(queued, 0u);
}

}  // namespace
