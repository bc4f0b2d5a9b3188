// The send queue of one socket against a scripted kernel: a send never waits, nothing is lost
// or reordered, and what fails is reported, at once where it can be.
#include "platform/detail/ordered_send_queue.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;
using plat::SockAddrIn;
using plat::detail::DatagramKernel;
using plat::detail::OrderedSendQueue;

SockAddrIn To(std::uint32_t hostOrder) {
    SockAddrIn address{};
    address.sin_family = plat::kAfInet;
    address.sin_port = plat::HostToNet16(5050);
    address.sin_addr.s_addr = plat::HostToNet32(hostOrder);
    return address;
}

std::uint32_t HostOrder(const SockAddrIn& address) {
    return plat::NetToHost32(address.sin_addr.s_addr);
}

// A kernel whose send buffer has room or not, as the test says; it keeps what it was handed.
class ScriptedKernel final : public DatagramKernel {
  public:
    int SendNow(std::span<const char> bytes, const SockAddrIn& destination) override {
        std::lock_guard lock(mutex_);
        if (!room_) {
            return kNoRoom;
        }
        const auto failure = failOnSend_.find(HostOrder(destination));
        if (failure != failOnSend_.end()) {
            return failure->second;
        }
        handedOver_.push_back(std::string(bytes.begin(), bytes.end()));
        changed_.notify_all();
        return 0;
    }

    void WaitForRoom(std::chrono::milliseconds most) override {
        std::unique_lock lock(mutex_);
        changed_.wait_for(lock, most, [this] { return room_; });
    }

    int RefusalOf(const SockAddrIn& destination) override {
        std::lock_guard lock(mutex_);
        const auto refusal = refused_.find(HostOrder(destination));
        return refusal == refused_.end() ? 0 : refusal->second;
    }

    void ReportLateFailure(const SockAddrIn& destination, int errorNumber) override {
        std::lock_guard lock(mutex_);
        lateFailures_.push_back({HostOrder(destination), errorNumber});
        changed_.notify_all();
    }

    void SetRoom(bool room) {
        std::lock_guard lock(mutex_);
        room_ = room;
        changed_.notify_all();
    }
    void FailOnSend(std::uint32_t hostOrder, int errorNumber) {
        std::lock_guard lock(mutex_);
        failOnSend_[hostOrder] = errorNumber;
    }
    void Refuse(std::uint32_t hostOrder, int errorNumber) {
        std::lock_guard lock(mutex_);
        refused_[hostOrder] = errorNumber;
    }

    std::vector<std::string> HandedOver() const {
        std::lock_guard lock(mutex_);
        return handedOver_;
    }
    std::vector<std::pair<std::uint32_t, int>> LateFailures() const {
        std::lock_guard lock(mutex_);
        return lateFailures_;
    }
    bool WaitUntilHandedOver(std::size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 5s, [&] { return handedOver_.size() >= count; });
    }

  private:
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    bool room_ = true;
    std::map<std::uint32_t, int> failOnSend_;
    std::map<std::uint32_t, int> refused_;
    std::vector<std::string> handedOver_;
    std::vector<std::pair<std::uint32_t, int>> lateFailures_;
};

int Send(OrderedSendQueue& queue, const std::string& bytes, std::uint32_t to = 0xC6336402) {
    return queue.Send(std::span<const char>(bytes.data(), bytes.size()), To(to));
}

TEST(OrderedSendQueue, WithRoomEverySendGoesStraightToTheKernel) {
    ScriptedKernel kernel;
    OrderedSendQueue queue(kernel);
    EXPECT_EQ(Send(queue, "a"), 0);
    EXPECT_EQ(Send(queue, "b"), 0);
    EXPECT_EQ(kernel.HandedOver(), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(queue.Waiting(), 0u);
}

TEST(OrderedSendQueue, AFullBufferQueuesTheSendAndEveryLaterOneInOrder) {
    ScriptedKernel kernel;
    OrderedSendQueue queue(kernel);
    ASSERT_EQ(Send(queue, "1"), 0);
    kernel.SetRoom(false);

    const auto start = std::chrono::steady_clock::now();
    for (const char* bytes : {"2", "3", "4"}) {
        EXPECT_EQ(Send(queue, bytes), 0) << "accepted, not failed";
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s) << "a send waited for room";
    EXPECT_EQ(queue.Waiting(), 3u);

    // Room comes back while the caller goes on sending: the new send must not overtake.
    kernel.SetRoom(true);
    EXPECT_EQ(Send(queue, "5"), 0);
    ASSERT_TRUE(kernel.WaitUntilHandedOver(5));
    EXPECT_EQ(kernel.HandedOver(), (std::vector<std::string>{"1", "2", "3", "4", "5"}));
    EXPECT_EQ(queue.Flush(std::chrono::steady_clock::now() + 1s), 0u);
}

TEST(OrderedSendQueue, WhatFailsAtOnceIsReportedAtOnceAndNeverQueued) {
    ScriptedKernel kernel;
    OrderedSendQueue queue(kernel);
    constexpr std::uint32_t kNoRoute = 0xC0000201;  // 192.0.2.1
    kernel.FailOnSend(kNoRoute, ENETUNREACH);
    kernel.Refuse(kNoRoute, ENETUNREACH);

    EXPECT_EQ(Send(queue, "x", kNoRoute), ENETUNREACH) << "an empty queue";

    kernel.SetRoom(false);
    ASSERT_EQ(Send(queue, "queued"), 0);
    EXPECT_EQ(Send(queue, "x", kNoRoute), ENETUNREACH) << "behind a waiting datagram";
    EXPECT_EQ(queue.Waiting(), 1u);

    kernel.SetRoom(true);
    EXPECT_EQ(queue.Flush(std::chrono::steady_clock::now() + 5s), 0u);
    EXPECT_EQ(kernel.HandedOver(), std::vector<std::string>{"queued"});
    EXPECT_TRUE(kernel.LateFailures().empty());
}

TEST(OrderedSendQueue, AQueuedDatagramTheKernelRefusesIsReportedAndTheRestStillGo) {
    ScriptedKernel kernel;
    OrderedSendQueue queue(kernel);
    constexpr std::uint32_t kRefusedLater = 0xC6336403;
    kernel.SetRoom(false);
    ASSERT_EQ(Send(queue, "1"), 0);
    ASSERT_EQ(Send(queue, "2", kRefusedLater), 0);
    ASSERT_EQ(Send(queue, "3"), 0);
    kernel.FailOnSend(kRefusedLater, EPERM);
    kernel.SetRoom(true);

    EXPECT_EQ(queue.Flush(std::chrono::steady_clock::now() + 5s), 0u);
    EXPECT_EQ(kernel.HandedOver(), (std::vector<std::string>{"1", "3"}));
    EXPECT_EQ(kernel.LateFailures(),
              (std::vector<std::pair<std::uint32_t, int>>{{kRefusedLater, EPERM}}));
}

TEST(OrderedSendQueue, FlushWaitsForTheHandOverAndGivesUpAtItsDeadline) {
    ScriptedKernel kernel;
    kernel.SetRoom(false);
    {
        OrderedSendQueue queue(kernel);
        ASSERT_EQ(Send(queue, "1"), 0);
        ASSERT_EQ(Send(queue, "2"), 0);

        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(queue.Flush(start + 100ms), 2u) << "no room at all: both still wait";
        EXPECT_GE(std::chrono::steady_clock::now() - start, 100ms);

        std::thread roomLater([&] {
            std::this_thread::sleep_for(50ms);
            kernel.SetRoom(true);
        });
        EXPECT_EQ(queue.Flush(std::chrono::steady_clock::now() + 5s), 0u);
        roomLater.join();
        EXPECT_EQ(kernel.HandedOver(), (std::vector<std::string>{"1", "2"}));
    }

    // A queue whose kernel never has room again still ends, promptly, and says what it left.
    kernel.SetRoom(false);
    const auto start = std::chrono::steady_clock::now();
    {
        OrderedSendQueue queue(kernel);
        ASSERT_EQ(Send(queue, "never"), 0);
        ASSERT_EQ(Send(queue, "never either"), 0);
        EXPECT_EQ(queue.Stop(std::chrono::steady_clock::now() + 50ms), 2u);
        EXPECT_EQ(Send(queue, "after the end"), EBADF);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(kernel.HandedOver().size(), 2u);
}

TEST(OrderedSendQueue, ManySendersAndTheHandOverKeepEachSendersOrder) {
    ScriptedKernel kernel;
    OrderedSendQueue queue(kernel);
    constexpr int kPerThread = 500;
    std::thread flicker([&] {
        for (int i = 0; i < 200; ++i) {
            kernel.SetRoom(i % 2 == 0);
            std::this_thread::sleep_for(100us);
        }
        kernel.SetRoom(true);
    });
    auto sender = [&](char tag) {
        for (int i = 0; i < kPerThread; ++i) {
            EXPECT_EQ(Send(queue, std::string(1, tag) + std::to_string(i)), 0);
        }
    };
    std::thread a(sender, 'a');
    std::thread b(sender, 'b');
    a.join();
    b.join();
    flicker.join();
    ASSERT_EQ(queue.Flush(std::chrono::steady_clock::now() + 5s), 0u);

    std::map<char, int> next;
    for (const std::string& bytes : kernel.HandedOver()) {
        EXPECT_EQ(std::stoi(bytes.substr(1)), next[bytes[0]]++) << bytes;
    }
    EXPECT_EQ(next['a'], kPerThread);
    EXPECT_EQ(next['b'], kPerThread);
}

}  // namespace
