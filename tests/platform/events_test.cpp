#include <gtest/gtest.h>

#include "platform/kernel.h"

namespace {

using namespace plat;

class Events : public ::testing::Test {
  protected:
    void SetUp() override {
        stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        wake_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ASSERT_NE(stop_, nullptr);
        ASSERT_NE(wake_, nullptr);
    }
    void TearDown() override {
        CloseHandle(stop_);
        CloseHandle(wake_);
        plat::testing::ResetKernelFaults();
    }
    DWORD WaitBoth(DWORD milliseconds) {
        const HANDLE both[2] = {stop_, wake_};
        return WaitForMultipleObjects(2, both, FALSE, milliseconds);
    }

    HANDLE stop_ = nullptr;
    HANDLE wake_ = nullptr;
};

TEST_F(Events, WaitReportsTheLowestSignalledIndex) {
    struct Case {
        bool stop;
        bool wake;
        DWORD result;
    };
    const Case cases[] = {
        {false, false, WAIT_TIMEOUT},
        {false, true, WAIT_OBJECT_0 + 1},
        {true, false, WAIT_OBJECT_0},
        {true, true, WAIT_OBJECT_0},  // the stop event wins
    };
    for (const Case& c : cases) {
        ResetEvent(stop_);
        ResetEvent(wake_);
        if (c.stop) {
            SetEvent(stop_);
        }
        if (c.wake) {
            SetEvent(wake_);
        }
        EXPECT_EQ(WaitBoth(0), c.result) << c.stop << c.wake;
        EXPECT_EQ(WaitBoth(5), c.result) << c.stop << c.wake;
    }
}

TEST_F(Events, ManualResetStaysSignalledUntilReset) {
    EXPECT_EQ(SetEvent(wake_), TRUE);
    EXPECT_EQ(WaitBoth(5), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(WaitBoth(5), WAIT_OBJECT_0 + 1);
    EXPECT_EQ(ResetEvent(wake_), TRUE);
    EXPECT_EQ(WaitBoth(5), WAIT_TIMEOUT);

    const HANDLE initiallySet = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(initiallySet, 0), WAIT_OBJECT_0);
    CloseHandle(initiallySet);
}

TEST_F(Events, AutoResetEventIsTakenByOneWait) {
    const HANDLE automatic = CreateEventW(nullptr, FALSE, TRUE, nullptr);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(automatic, 0), WAIT_TIMEOUT);
    CloseHandle(automatic);
}

TEST_F(Events, TimeOutWaitsAboutAsLongAsAsked) {
    const DWORD before = GetTickCount();
    EXPECT_EQ(WaitBoth(30), WAIT_TIMEOUT);
    const DWORD waited = GetTickCount() - before;
    EXPECT_GE(waited, 29u);
    EXPECT_LT(waited, 2000u);
}

TEST_F(Events, BadArgumentsAndClosedHandlesFail) {
    const HANDLE both[2] = {stop_, wake_};
    EXPECT_EQ(WaitForMultipleObjects(0, both, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForMultipleObjects(2, nullptr, FALSE, 0), WAIT_FAILED);
    EXPECT_EQ(WaitForMultipleObjects(65, both, FALSE, 0), WAIT_FAILED);
    const HANDLE withNull[2] = {stop_, nullptr};
    EXPECT_EQ(WaitForMultipleObjects(2, withNull, FALSE, 0), WAIT_FAILED);

    const HANDLE closed = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    EXPECT_EQ(CloseHandle(closed), TRUE);
    EXPECT_EQ(CloseHandle(closed), FALSE);
    EXPECT_EQ(SetEvent(closed), FALSE);
    EXPECT_EQ(ResetEvent(nullptr), FALSE);
    EXPECT_EQ(WaitForSingleObject(closed, 0), WAIT_FAILED);
}

TEST_F(Events, EventCreationFailsAtTheCountedCall) {
    plat::testing::FailEventCreationAt(2);
    const HANDLE first = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    const HANDLE second = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    const HANDLE third = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    EXPECT_NE(first, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_NE(third, nullptr);
    CloseHandle(first);
    CloseHandle(third);

    plat::testing::FailEventCreationAt(1);
    plat::testing::ResetKernelFaults();
    const HANDLE afterReset = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    EXPECT_NE(afterReset, nullptr);
    CloseHandle(afterReset);
}

TEST(TickCount, CanBeFixedAndReleased) {
    plat::testing::SetTickCount(0xFFFFFFF0u);
    EXPECT_EQ(GetTickCount(), 0xFFFFFFF0u);
    plat::testing::ResetTickCount();
    const DWORD first = GetTickCount();
    Sleep(20);
    const DWORD elapsed = GetTickCount() - first;
    EXPECT_GE(elapsed, 19u);
    EXPECT_LT(elapsed, 2000u);
}

}  // namespace
