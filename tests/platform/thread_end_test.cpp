// Ending a thread wakes it from every blocking call of the layer; the real socket here is bound
// to 127.0.0.1 and nothing is sent beyond it.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <string>

#include "platform/kernel.h"
#include "platform/sockets.h"
#include "platform/testing/fakes.h"

namespace {

using namespace plat;

constexpr std::uint32_t kLoopback = 0x7F000001;

struct Blocked {
    std::function<bool()> call;  // true when the call came back as an ended thread's should
    HANDLE entered = nullptr;
    std::atomic<bool> woke{false};
    std::atomic<bool> woke_correctly{false};
    std::atomic<bool> later_calls_returned{false};
};

DWORD RunBlocked(void* parameter) {
    auto* blocked = static_cast<Blocked*>(parameter);
    SetEvent(blocked->entered);
    blocked->woke_correctly = blocked->call();
    blocked->woke = true;
    // Once marked, blocking calls return at once.
    const HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const DWORD waited = WaitForMultipleObjects(1, &never, FALSE, INFINITE);
    Sleep(60000);
    blocked->later_calls_returned = waited == WAIT_TIMEOUT && blocked->call();
    CloseHandle(never);
    return 0;
}

// Starts `call` on a thread, lets it block, ends the thread and checks it came back.
void ExpectEndWakes(const std::function<bool()>& call, const std::function<void()>& untilBlocked) {
    Blocked blocked;
    blocked.call = call;
    blocked.entered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE thread = CreateThread(nullptr, 0, RunBlocked, &blocked, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    ASSERT_EQ(WaitForSingleObject(blocked.entered, 5000), WAIT_OBJECT_0);
    untilBlocked();
    EXPECT_FALSE(blocked.woke.load());

    const DWORD before = GetTickCount();
    EXPECT_EQ(TerminateThread(thread, 0), TRUE);
    EXPECT_LT(GetTickCount() - before, 5000u);
    // TerminateThread has joined: the thread is done, its code the one given.
    EXPECT_TRUE(blocked.woke.load());
    EXPECT_TRUE(blocked.woke_correctly.load());
    EXPECT_TRUE(blocked.later_calls_returned.load());
    DWORD code = STILL_ACTIVE;
    EXPECT_EQ(GetExitCodeThread(thread, &code), TRUE);
    EXPECT_EQ(code, 0u);
    CloseHandle(thread);
    CloseHandle(blocked.entered);
}

void ShortPause() {
    Sleep(50);
}

TEST(ThreadEnd, WakesAWaitWithoutLimit) {
    const HANDLE events[2] = {CreateEventW(nullptr, TRUE, FALSE, nullptr),
                              CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    ExpectEndWakes(
        [&] { return WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_TIMEOUT; },
        ShortPause);
    CloseHandle(events[0]);
    CloseHandle(events[1]);
}

TEST(ThreadEnd, WakesALongSleep) {
    ExpectEndWakes(
        [] {
            const DWORD before = GetTickCount();
            Sleep(60000);
            return GetTickCount() - before < 30000;
        },
        ShortPause);
}

TEST(ThreadEnd, WakesAReceiveOnTheFakeNetwork) {
    plat::testing::FakeNetwork network;
    const SOCKET s = WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, 0);
    ExpectEndWakes(
        [&] {
            char buffer[64];
            return recvfrom(s, buffer, sizeof buffer, 0, nullptr, nullptr) == SOCKET_ERROR &&
                   WSAGetLastError() == WSAEINTR;
        },
        [&] {
            for (int i = 0; i < 500 && network.BlockedReceivers() == 0; ++i) {
                Sleep(2);
            }
            ASSERT_EQ(network.BlockedReceivers(), 1);
        });
    EXPECT_EQ(network.BlockedReceivers(), 0);
}

TEST(ThreadEnd, WakesAReceiveOnARealLoopbackSocket) {
    const SOCKET s = WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, kWsaFlagOverlapped);
    ASSERT_NE(s, INVALID_SOCKET);
    SockAddrIn local{};
    local.sin_family = kAfInet;
    local.sin_addr.s_addr = HostToNet32(kLoopback);
    ASSERT_EQ(bind(s, &local, sizeof local), 0);
    ExpectEndWakes(
        [&] {
            char buffer[64];
            SockAddrIn from{};
            int fromLength = sizeof from;
            return recvfrom(s, buffer, sizeof buffer, 0, &from, &fromLength) == SOCKET_ERROR &&
                   WSAGetLastError() == WSAEINTR;
        },
        ShortPause);
    // The socket itself is untouched and still receives.
    SockAddrIn self{};
    int length = sizeof self;
    ASSERT_EQ(getsockname(s, &self, &length), 0);
    ASSERT_EQ(self.sin_addr.s_addr, HostToNet32(kLoopback));
    ASSERT_EQ(sendto(s, "ping", 4, 0, &self, sizeof self), 4);
    char buffer[8] = {};
    EXPECT_EQ(recvfrom(s, buffer, sizeof buffer, 0, nullptr, nullptr), 4);
    closesocket(s);
}

// An end that comes while the thread is still on its way into the wait is not lost.
TEST(ThreadEnd, EndRightAfterStartIsNeverMissed) {
    const HANDLE never = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    for (int i = 0; i < 200; ++i) {
        const HANDLE thread = CreateThread(
            nullptr, 0,
            [](void* parameter) -> DWORD {
                HANDLE event = static_cast<HANDLE>(parameter);
                return WaitForMultipleObjects(1, &event, FALSE, INFINITE);
            },
            never, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        ASSERT_EQ(TerminateThread(thread, 5), TRUE);
        DWORD code = 0;
        GetExitCodeThread(thread, &code);
        EXPECT_EQ(code, 5u);
        CloseHandle(thread);
    }
    CloseHandle(never);
}

// The worker sits in the receive while another thread sends on the same socket.
TEST(ThreadEnd, SendsProceedWhileAThreadReceives) {
    const SOCKET s = WSASocketW(kAfInet, kSockDgram, 0, nullptr, 0, kWsaFlagOverlapped);
    SockAddrIn local{};
    local.sin_family = kAfInet;
    local.sin_addr.s_addr = HostToNet32(kLoopback);
    ASSERT_EQ(bind(s, &local, sizeof local), 0);
    SockAddrIn self{};
    int length = sizeof self;
    ASSERT_EQ(getsockname(s, &self, &length), 0);
    ASSERT_EQ(self.sin_addr.s_addr, HostToNet32(kLoopback));

    struct Receiver {
        SOCKET socket;
        std::atomic<int> received{0};
    } receiver{s};
    const HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* parameter) -> DWORD {
            auto* r = static_cast<Receiver*>(parameter);
            char buffer[16];
            while (recvfrom(r->socket, buffer, sizeof buffer, 0, nullptr, nullptr) == 4) {
                ++r->received;
            }
            return 0;
        },
        &receiver, 0, nullptr);
    Sleep(20);
    for (int i = 0; i < 50; ++i) {
        ASSERT_EQ(sendto(s, "data", 4, 0, &self, sizeof self), 4);
    }
    for (int i = 0; i < 500 && receiver.received.load() < 50; ++i) {
        Sleep(2);
    }
    EXPECT_EQ(receiver.received.load(), 50);
    TerminateThread(thread, 0);
    CloseHandle(thread);
    closesocket(s);
}

}  // namespace
