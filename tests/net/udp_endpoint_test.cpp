#include "net/udp_endpoint.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/output.h"
#include "platform/testing/fakes.h"

namespace {

using plat::testing::FakeNetwork;

bool Contains(const std::vector<std::string>& calls, const std::string& call) {
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

std::ptrdiff_t IndexOf(const std::vector<std::string>& calls, const std::string& prefix) {
    for (std::size_t i = 0; i < calls.size(); ++i) {
        if (calls[i].rfind(prefix, 0) == 0) {
            return static_cast<std::ptrdiff_t>(i);
        }
    }
    return -1;
}

class UdpEndpointTest : public ::testing::Test {
  protected:
    FakeNetwork network_;
    plat::CaptureOutput output_;
    plat::SOCKET sock_ = 12345;
};

TEST_F(UdpEndpointTest, OpensABroadcastSocketOnAnEphemeralPort) {
    network_.SetBoundPort(49152);
    ASSERT_TRUE(net::SetUpUdpEndpoint(sock_));
    EXPECT_NE(sock_, plat::INVALID_SOCKET);

    const auto calls = network_.Calls();
    ASSERT_GE(calls.size(), 5u);
    EXPECT_EQ(calls[0], "WSAStartup 0x0202");
    EXPECT_EQ(calls[1], "WSASocketW 2 2 0 flags=0x1");
    EXPECT_EQ(calls[2], "setsockopt 65535 32 len=1 value=01");
    const auto bind = IndexOf(calls, "bind ");
    const auto getsockname = IndexOf(calls, "getsockname");
    ASSERT_GT(bind, 2);
    // Both buffers are asked for after the broadcast option and before the bind, each for far
    // more than a stock kernel's default (212,992 bytes): a sweep must not wait for room.
    const char* const bufferOptions[] = {"setsockopt 65535 4097 len=4 value=",
                                         "setsockopt 65535 4098 len=4 value="};
    for (const char* option : bufferOptions) {
        const auto at = IndexOf(calls, option);
        EXPECT_GT(at, 2) << option;
        EXPECT_LT(at, bind) << option;
        if (at > 0) {
            const std::string hex =
                calls[static_cast<std::size_t>(at)].substr(std::string(option).size());
            ASSERT_EQ(hex.size(), 8u);
            unsigned long bytes = 0;
            for (int i = 3; i >= 0; --i) {  // memory order: least significant byte first
                bytes = bytes * 256 +
                        std::stoul(hex.substr(static_cast<std::size_t>(i) * 2, 2), nullptr, 16);
            }
            EXPECT_GE(bytes, 4ul * 1024 * 1024) << option;
        }
    }
    EXPECT_EQ(calls[static_cast<std::size_t>(bind)], "bind 0.0.0.0:0 len=16");
    EXPECT_EQ(getsockname, bind + 1);
    EXPECT_EQ(calls[static_cast<std::size_t>(getsockname)], "getsockname len=16");
    EXPECT_FALSE(Contains(calls, "closesocket"));
    EXPECT_FALSE(Contains(calls, "WSACleanup"));

    EXPECT_EQ(output_.Debugger(), "Local port: 49152\n");
    EXPECT_EQ(output_.StandardOutput(), "");
}

// The options are help, not conditions: a refused one is not noticed, and every broadcast the
// platform then refuses is logged by the sender.
TEST_F(UdpEndpointTest, RefusedSocketOptionsDoNotStopTheSetUp) {
    for (const int option : {plat::kSoBroadcast, plat::kSoSndBuf, plat::kSoRcvBuf}) {
        network_.FailOption(option, plat::WSAENOPROTOOPT);
    }
    ASSERT_TRUE(net::SetUpUdpEndpoint(sock_));
    EXPECT_NE(sock_, plat::INVALID_SOCKET);
    EXPECT_EQ(output_.Debugger(), "Local port: 50000\n");
    EXPECT_EQ(output_.StandardOutput(), "");
    EXPECT_FALSE(Contains(network_.Calls(), "closesocket"));
}

struct FailureCase {
    const char* name;
    void (*inject)(FakeNetwork&);
    const char* line;
    bool readsBack;
};

void PrintTo(const FailureCase& c, std::ostream* os) {
    *os << c.name;
}

class UdpEndpointFailureTest : public UdpEndpointTest,
                               public ::testing::WithParamInterface<FailureCase> {};

TEST_P(UdpEndpointFailureTest, LogsClosesCleansUpOnceAndLeavesNoSocket) {
    GetParam().inject(network_);
    EXPECT_FALSE(net::SetUpUdpEndpoint(sock_));
    EXPECT_EQ(sock_, plat::INVALID_SOCKET);
    EXPECT_EQ(output_.StandardOutput(), GetParam().line);
    EXPECT_EQ(output_.Debugger(), "");

    const auto calls = network_.Calls();
    EXPECT_EQ(IndexOf(calls, "getsockname") >= 0, GetParam().readsBack);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "WSACleanup"), 1);
    EXPECT_EQ(std::count(calls.begin(), calls.end(), "closesocket"), 1);
    EXPECT_EQ(calls.back(), "WSACleanup");
    EXPECT_EQ(network_.OpenSockets(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, UdpEndpointFailureTest,
    ::testing::Values(FailureCase{"BindFails",
                                  [](FakeNetwork& n) { n.FailBind(plat::WSAEADDRINUSE); },
                                  "bind failed: 10048 \n ", false},
                      FailureCase{"ReadBackFails",
                                  [](FakeNetwork& n) { n.FailGetSockName(plat::WSAEINVAL); },
                                  "getsockname failed:  10022 \n ", true},
                      FailureCase{"SocketCreationFailsShowsAsBindFailure",
                                  [](FakeNetwork& n) { n.FailSocketCreation(plat::WSAEMFILE); },
                                  "bind failed: 10038 \n ", false}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
