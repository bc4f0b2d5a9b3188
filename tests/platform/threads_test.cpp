#include <gtest/gtest.h>

#include <atomic>

#include "platform/kernel.h"

namespace {

using namespace plat;

DWORD ReturnSeven(void*) {
    return 7;
}

DWORD WaitForEvent(void* parameter) {
    const HANDLE event = static_cast<HANDLE>(parameter);
    return WaitForSingleObject(event, INFINITE) == WAIT_OBJECT_0 ? 1 : 2;
}

TEST(Threads, ExitCodeIsStillActiveUntilTheThreadReturns) {
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    DWORD id = 0;
    const HANDLE thread = CreateThread(nullptr, 0, WaitForEvent, release, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    DWORD code = 0;
    EXPECT_EQ(GetExitCodeThread(thread, &code), TRUE);
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(thread, 20), WAIT_TIMEOUT);

    SetEvent(release);  // from this thread, wakes the other's wait without limit
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(GetExitCodeThread(thread, &code), TRUE);
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(CloseHandle(thread), TRUE);
    CloseHandle(release);
}

TEST(Threads, ClosingTheHandleNeitherStopsNorJoinsTheThread) {
    const HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    const HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct Work {
        HANDLE release;
        HANDLE done;
    } work{release, done};
    const HANDLE thread = CreateThread(
        nullptr, 0,
        [](void* parameter) -> DWORD {
            auto* w = static_cast<Work*>(parameter);
            WaitForSingleObject(w->release, INFINITE);
            SetEvent(w->done);
            return 0;
        },
        &work, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(CloseHandle(thread), TRUE);
    EXPECT_EQ(GetExitCodeThread(thread, nullptr), FALSE);
    SetEvent(release);
    EXPECT_EQ(WaitForSingleObject(done, 5000), WAIT_OBJECT_0);
    CloseHandle(release);
    CloseHandle(done);
}

struct SelfClosing {
    HANDLE own = nullptr;
    HANDLE go = nullptr;
    HANDLE done = nullptr;
    std::atomic<BOOL> closed{FALSE};
    std::atomic<BOOL> selfTerminate{TRUE};
};

DWORD CloseOwnHandle(void* parameter) {
    auto* state = static_cast<SelfClosing*>(parameter);
    WaitForSingleObject(state->go, INFINITE);
    state->selfTerminate = TerminateThread(state->own, 3);
    state->closed = CloseHandle(state->own);
    SetEvent(state->done);
    return 0;
}

TEST(Threads, ThreadMayCloseItsOwnHandleButNotEndItself) {
    SelfClosing state;
    state.go = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    state.done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    state.own = CreateThread(nullptr, 0, CloseOwnHandle, &state, 0, nullptr);
    ASSERT_NE(state.own, nullptr);
    SetEvent(state.go);
    ASSERT_EQ(WaitForSingleObject(state.done, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(state.selfTerminate.load(), FALSE);
    EXPECT_EQ(state.closed.load(), TRUE);
    CloseHandle(state.go);
    CloseHandle(state.done);
}

TEST(Threads, TerminatingAFinishedThreadKeepsItsExitCode) {
    const HANDLE thread = CreateThread(nullptr, 0, ReturnSeven, nullptr, 0, nullptr);
    ASSERT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(TerminateThread(thread, 0), TRUE);
    DWORD code = 0;
    GetExitCodeThread(thread, &code);
    EXPECT_EQ(code, 7u);
    CloseHandle(thread);
    EXPECT_EQ(TerminateThread(thread, 0), FALSE);  // closed
}

TEST(Threads, ThreadCreationFailsAtTheCountedCall) {
    plat::testing::FailThreadCreationAt(1);
    EXPECT_EQ(CreateThread(nullptr, 0, ReturnSeven, nullptr, 0, nullptr), nullptr);
    const HANDLE next = CreateThread(nullptr, 0, ReturnSeven, nullptr, 0, nullptr);
    EXPECT_NE(next, nullptr);
    WaitForSingleObject(next, 5000);
    CloseHandle(next);
    plat::testing::ResetKernelFaults();
}

TEST(Threads, FaultCountersAreSafeAcrossThreads) {
    // 8 threads create 25 events each; exactly the 100th creation fails.
    plat::testing::FailEventCreationAt(100);
    std::atomic<int> failures{0};
    std::vector<HANDLE> threads;
    for (int i = 0; i < 8; ++i) {
        threads.push_back(CreateThread(
            nullptr, 0,
            [](void* parameter) -> DWORD {
                auto* count = static_cast<std::atomic<int>*>(parameter);
                for (int j = 0; j < 25; ++j) {
                    const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
                    if (event == nullptr) {
                        ++*count;
                    }
                    CloseHandle(event);
                }
                return 0;
            },
            &failures, 0, nullptr));
    }
    for (HANDLE thread : threads) {
        EXPECT_EQ(WaitForSingleObject(thread, 10000), WAIT_OBJECT_0);
        CloseHandle(thread);
    }
    EXPECT_EQ(failures.load(), 1);
    plat::testing::ResetKernelFaults();
}

}  // namespace
