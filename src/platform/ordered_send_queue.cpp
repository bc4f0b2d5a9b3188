#include "platform/detail/ordered_send_queue.h"

#include <cerrno>
#include <system_error>

namespace plat::detail {

namespace {

// How long the hand-over waits for room before it simply tries again: the kernel frees the
// space of datagrams whose address resolution failed all at once, but room can also come back
// without the socket reporting it writable (that takes half the buffer free).
constexpr std::chrono::milliseconds kRoomRecheck{20};

}  // namespace

OrderedSendQueue::OrderedSendQueue(DatagramKernel& kernel) : kernel_(kernel) {}

OrderedSendQueue::~OrderedSendQueue() {
    {
        std::lock_guard lock(mutex_);
        ending_ = true;
    }
    changed_.notify_all();
    if (handOver_.joinable()) {
        handOver_.join();
    }
}

int OrderedSendQueue::Send(std::span<const char> bytes, const SockAddrIn& destination) {
    std::lock_guard lock(mutex_);
    if (ending_) {
        return EBADF;
    }
    if (waiting_.empty()) {
        const int result = kernel_.SendNow(bytes, destination);
        if (result != DatagramKernel::kNoRoom) {
            return result;
        }
    } else if (const int refusal = kernel_.RefusalOf(destination); refusal != 0) {
        // Behind other datagrams it cannot be tried now; what would fail at once is still
        // reported at once.
        return refusal;
    }
    if (!handOver_.joinable()) {
        try {
            handOver_ = std::thread(&OrderedSendQueue::HandOver, this);
        } catch (const std::system_error&) {
            return ENOBUFS;  // no thread to hand it over later: the send did not happen
        }
    }
    waiting_.push_back({std::vector<char>(bytes.begin(), bytes.end()), destination});
    changed_.notify_all();
    return 0;
}

std::size_t OrderedSendQueue::Flush(Clock::time_point deadline) {
    std::unique_lock lock(mutex_);
    changed_.wait_until(lock, deadline, [this] { return waiting_.empty(); });
    return waiting_.size();
}

std::size_t OrderedSendQueue::Stop(Clock::time_point deadline) {
    std::size_t left = 0;
    {
        std::unique_lock lock(mutex_);
        changed_.wait_until(lock, deadline, [this] { return waiting_.empty(); });
        // Counted in the same breath as the end, so none is counted that still went out.
        ending_ = true;
        left = waiting_.size();
    }
    changed_.notify_all();
    return left;
}

std::size_t OrderedSendQueue::Waiting() const {
    std::lock_guard lock(mutex_);
    return waiting_.size();
}

void OrderedSendQueue::HandOver() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [this] { return ending_ || !waiting_.empty(); });
        if (ending_) {
            return;
        }
        // Under the lock, so a Send that finds the queue empty comes after this datagram; the
        // send never waits.
        const QueuedDatagram& first = waiting_.front();
        const int result = kernel_.SendNow(first.bytes, first.destination);
        if (result == DatagramKernel::kNoRoom) {
            lock.unlock();
            kernel_.WaitForRoom(kRoomRecheck);
            lock.lock();
            continue;
        }
        const SockAddrIn destination = first.destination;
        waiting_.pop_front();
        changed_.notify_all();
        if (result != 0) {
            lock.unlock();
            kernel_.ReportLateFailure(destination, result);
            lock.lock();
        }
    }
}

}  // namespace plat::detail
