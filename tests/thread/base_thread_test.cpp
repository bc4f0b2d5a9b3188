#include "thread/base_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <stdexcept>
#include <string>
#include <thread>

#include "platform/kernel.h"
#include "platform/output.h"
#include "platform/testing/fakes.h"

namespace {

using namespace std::chrono_literals;

const std::string kGuardLine = "CBaseThread::TryProcessThread except 异常\n";

template <typename Predicate>
bool Eventually(Predicate predicate, std::chrono::milliseconds limit = 5s) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!predicate()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(1ms);
    }
    return true;
}

std::size_t Count(const std::string& text, const std::string& piece) {
    std::size_t n = 0;
    for (auto at = text.find(piece); at != std::string::npos; at = text.find(piece, at + 1)) {
        ++n;
    }
    return n;
}

// Exposes the members so the tests can see the states the worker goes through.
template <int N>
class Probe : public CBaseThread<N> {
  public:
    using Base = CBaseThread<N>;
    using Base::m_dwWaitTimeout;
    using Base::m_hEvents;
    using Base::m_hThreads;
    using Base::m_lNextThreadIndex;
    using Base::ThreadProc;

    ~Probe() override { this->Stop(); }

    void ProcessThread(int index) override {
        {
            std::lock_guard lock(mutex_);
            indices_.insert(index);
        }
        if (timeoutSetInRun_ != 0) {
            this->m_dwWaitTimeout = timeoutSetInRun_;
        }
        const int run = runs_.fetch_add(1);
        if (throws_) {
            // The guard takes whatever is thrown, not only standard exceptions.
            if (run % 2 == 0) {
                throw std::runtime_error("run failed");
            }
            throw 42;
        }
        if (blockOnce_.exchange(false)) {
            std::unique_lock lock(mutex_);
            blocked_ = true;
            changed_.notify_all();
            changed_.wait(lock, [this] { return released_; });
        }
    }

    void BlockFirstRun() { blockOnce_ = true; }
    void WaitUntilBlocked() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return blocked_; });
    }
    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    std::set<int> Indices() {
        std::lock_guard lock(mutex_);
        return indices_;
    }

    std::atomic<int> runs_ = 0;
    std::atomic<bool> throws_ = false;
    // Written by each run to the member the worker's time-out came from.
    plat::DWORD timeoutSetInRun_ = 0;

  private:
    std::atomic<bool> blockOnce_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::set<int> indices_;
    bool blocked_ = false;
    bool released_ = false;
};

class BaseThreadTest : public ::testing::Test {
  protected:
    void TearDown() override { plat::testing::ResetKernelFaults(); }
};

TEST_F(BaseThreadTest, NeverStartedObjectHasNothingToStop) {
    Probe<1> probe;
    EXPECT_EQ(probe.m_hEvents[0], nullptr);
    EXPECT_EQ(probe.m_hEvents[1], nullptr);
    EXPECT_EQ(probe.m_hThreads[0].load(), nullptr);
    EXPECT_EQ(probe.m_dwWaitTimeout, 0u);
    probe.Stop();
    EXPECT_EQ(probe.runs_.load(), 0);
}

TEST_F(BaseThreadTest, StartRunsTheWorkerOnEveryTimeOut) {
    Probe<1> probe;
    ASSERT_EQ(probe.Start(), 1);
    EXPECT_EQ(probe.m_dwWaitTimeout, 5u);
    EXPECT_TRUE(Eventually([&] { return probe.runs_.load() >= 5; }));
    EXPECT_EQ(probe.Indices(), std::set<int>{0});
}

TEST_F(BaseThreadTest, SecondStartChangesNothing) {
    Probe<1> probe;
    ASSERT_EQ(probe.Start(), 1);
    const plat::HANDLE stop = probe.m_hEvents[0];
    const plat::HANDLE wake = probe.m_hEvents[1];
    const plat::HANDLE worker = probe.m_hThreads[0].load();
    // A run happens after the worker has read its time-out, so changing it now is safe.
    ASSERT_TRUE(Eventually([&] { return probe.runs_.load() > 0; }));
    probe.m_dwWaitTimeout = 77;

    EXPECT_EQ(probe.Start(), 1);
    EXPECT_EQ(probe.m_hEvents[0], stop);
    EXPECT_EQ(probe.m_hEvents[1], wake);
    EXPECT_EQ(probe.m_hThreads[0].load(), worker);
    EXPECT_EQ(probe.m_lNextThreadIndex.load(), 1);
    EXPECT_EQ(probe.m_dwWaitTimeout, 77u);
}

TEST_F(BaseThreadTest, StopEndsEverythingAndASecondStopDoesNothing) {
    Probe<1> probe;
    ASSERT_EQ(probe.Start(), 1);
    ASSERT_TRUE(Eventually([&] { return probe.runs_.load() > 0; }));
    probe.Stop();
    EXPECT_EQ(probe.m_hEvents[0], nullptr);
    EXPECT_EQ(probe.m_hEvents[1], nullptr);
    EXPECT_EQ(probe.m_hThreads[0].load(), nullptr);
    const int runs = probe.runs_.load();
    std::this_thread::sleep_for(30ms);
    EXPECT_EQ(probe.runs_.load(), runs) << "a worker still runs after Stop";
    probe.Stop();
}

TEST_F(BaseThreadTest, StartAfterStopStartsAfreshWithIndicesFromZero) {
    Probe<3> probe;
    ASSERT_EQ(probe.Start(), 1);
    ASSERT_TRUE(Eventually([&] { return probe.Indices().size() == 3; }));
    EXPECT_EQ(probe.Indices(), (std::set<int>{0, 1, 2}));
    probe.Stop();

    ASSERT_EQ(probe.Start(), 1);
    EXPECT_NE(probe.m_hEvents[0], nullptr);
    ASSERT_TRUE(Eventually([&] { return probe.m_lNextThreadIndex.load() == 3; }));
    for (auto& entry : probe.m_hThreads) {
        EXPECT_NE(entry.load(), nullptr);
    }
}

TEST_F(BaseThreadTest, EveryFailedRunLeavesOneLineAndTheWorkerGoesOn) {
    plat::CaptureOutput output;
    Probe<1> probe;
    probe.throws_ = true;
    ASSERT_EQ(probe.Start(), 1);
    ASSERT_TRUE(Eventually([&] { return probe.runs_.load() >= 10; }));
    probe.Stop();
    EXPECT_EQ(Count(output.Debugger(), kGuardLine), static_cast<std::size_t>(probe.runs_.load()));
}

TEST_F(BaseThreadTest, WorkerThatFindsTheStopEventLeavesByItselfAndClearsItsEntry) {
    Probe<1> probe;
    probe.BlockFirstRun();
    ASSERT_EQ(probe.Start(), 1);
    probe.WaitUntilBlocked();
    // Both events signalled while the worker runs: its next wait reports the stop event.
    plat::SetEvent(probe.m_hEvents[1]);
    plat::SetEvent(probe.m_hEvents[0]);
    probe.Release();
    ASSERT_TRUE(Eventually([&] { return probe.m_hThreads[0].load() == nullptr; }));
    EXPECT_EQ(probe.runs_.load(), 1);
    probe.Stop();
    EXPECT_EQ(probe.m_hEvents[0], nullptr);
}

TEST_F(BaseThreadTest, WithoutTimeOutTheWorkerRunsOnlyOnWakeAndResetsTheWakeEvent) {
    for (const bool runFails : {false, true}) {
        SCOPED_TRACE(runFails ? "failing run" : "normal run");
        plat::CaptureOutput output;
        Probe<1> probe;
        probe.throws_ = runFails;
        probe.m_hEvents[0] = plat::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        probe.m_hEvents[1] = plat::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        probe.m_dwWaitTimeout = 0;
        probe.timeoutSetInRun_ = 5;  // must not reach the worker, which read its time-out once
        plat::DWORD exitCode = 1;
        std::thread worker([&] { exitCode = Probe<1>::ThreadProc(&probe); });

        std::this_thread::sleep_for(40ms);
        EXPECT_EQ(probe.runs_.load(), 0);

        plat::SetEvent(probe.m_hEvents[1]);
        ASSERT_TRUE(Eventually([&] { return probe.runs_.load() == 1; }));
        std::this_thread::sleep_for(40ms);
        EXPECT_EQ(probe.runs_.load(), 1) << "the wake event was not reset after the run, or the "
                                            "time-out was read again";

        plat::SetEvent(probe.m_hEvents[0]);
        worker.join();
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(probe.runs_.load(), 1);
        EXPECT_EQ(output.Debugger(), runFails ? kGuardLine : "");
        plat::CloseHandle(probe.m_hEvents[0]);
        plat::CloseHandle(probe.m_hEvents[1]);
        probe.m_hEvents[0] = probe.m_hEvents[1] = nullptr;
    }
}

TEST_F(BaseThreadTest, WorkerWhoseFirstWaitFindsBothEventsLeavesWithoutARun) {
    Probe<1> probe;
    probe.m_hEvents[0] = plat::CreateEventW(nullptr, TRUE, TRUE, nullptr);
    probe.m_hEvents[1] = plat::CreateEventW(nullptr, TRUE, TRUE, nullptr);
    probe.m_dwWaitTimeout = 5;
    EXPECT_EQ(Probe<1>::ThreadProc(&probe), 0u);
    EXPECT_EQ(probe.runs_.load(), 0);
    plat::CloseHandle(probe.m_hEvents[0]);
    plat::CloseHandle(probe.m_hEvents[1]);
    probe.m_hEvents[0] = probe.m_hEvents[1] = nullptr;
}

TEST_F(BaseThreadTest, FailedThreadCreationStopsAndReturnsZero) {
    Probe<2> probe;
    plat::testing::FailThreadCreationAt(2);
    EXPECT_EQ(probe.Start(), 0);
    EXPECT_EQ(probe.m_hEvents[0], nullptr);
    EXPECT_EQ(probe.m_hEvents[1], nullptr);
    EXPECT_EQ(probe.m_hThreads[0].load(), nullptr);
    EXPECT_EQ(probe.m_hThreads[1].load(), nullptr);

    plat::testing::ResetKernelFaults();
    EXPECT_EQ(probe.Start(), 1);
    EXPECT_TRUE(Eventually([&] { return probe.Indices().size() == 2; }));
}

struct EventFailureCase {
    int failingCreation;  // 1: the stop event, 2: the wake event
    bool stopExists;
};

class EventFailureTest : public BaseThreadTest,
                         public ::testing::WithParamInterface<EventFailureCase> {};

TEST_P(EventFailureTest, OneEventOnlyStartsNoWorkerUntilStopped) {
    Probe<1> probe;
    plat::testing::FailEventCreationAt(GetParam().failingCreation);
    EXPECT_EQ(probe.Start(), 0);
    EXPECT_EQ(probe.m_hEvents[0] != nullptr, GetParam().stopExists);
    EXPECT_EQ(probe.m_hEvents[1] != nullptr, !GetParam().stopExists);
    EXPECT_EQ(probe.m_hThreads[0].load(), nullptr);

    EXPECT_EQ(probe.Start(), 1) << "one existing event counts as started";
    EXPECT_EQ(probe.m_hThreads[0].load(), nullptr);

    probe.Stop();
    EXPECT_EQ(probe.m_hEvents[0], nullptr);
    EXPECT_EQ(probe.m_hEvents[1], nullptr);
    EXPECT_EQ(probe.Start(), 1);
    EXPECT_TRUE(Eventually([&] { return probe.runs_.load() > 0; }));
}

INSTANTIATE_TEST_SUITE_P(StopOrWake, EventFailureTest,
                         ::testing::Values(EventFailureCase{2, true}, EventFailureCase{1, false}));

// The tool's worker sits in a receive without time-out; Stop must still end it, promptly.
class Receiver : public CBaseThread<1> {
  public:
    explicit Receiver(plat::SOCKET socket) : socket_(socket) {}
    ~Receiver() override { Stop(); }
    void ProcessThread(int) override {
        char buffer[64];
        plat::SockAddrIn from{};
        int fromLength = sizeof from;
        inReceive_ = true;
        results_.push_back(plat::recvfrom(socket_, buffer, sizeof buffer, 0, &from, &fromLength));
        inReceive_ = false;
    }
    std::atomic<bool> inReceive_ = false;
    std::vector<int> results_;  // read only after Stop

  private:
    plat::SOCKET socket_;
};

TEST_F(BaseThreadTest, StopEndsAWorkerBlockedInItsReceive) {
    plat::testing::FakeNetwork network;
    const plat::SOCKET socket = plat::WSASocketW(plat::kAfInet, plat::kSockDgram, 0, nullptr, 0, 0);
    Receiver receiver(socket);
    ASSERT_EQ(receiver.Start(), 1);
    ASSERT_TRUE(Eventually([&] { return network.BlockedReceivers() == 1; }));

    const auto before = std::chrono::steady_clock::now();
    receiver.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_FALSE(receiver.inReceive_.load());
    ASSERT_EQ(receiver.results_.size(), 1u);
    EXPECT_EQ(receiver.results_[0], plat::SOCKET_ERROR);
    EXPECT_EQ(network.BlockedReceivers(), 0);
}

}  // namespace
