// Sends of one datagram socket that never wait for the kernel, in the order they were made.
//
// The tool sends every request from its UI thread, one datagram to each host of a /24 and then
// the broadcasts, and relies on each send returning at once, as the socket library it was made
// for does. Linux does not: a datagram to a host whose address is still being resolved holds
// send-buffer space for about 3 s, and once the buffer is full a blocking send waits. So a send
// is first tried without waiting; when the kernel has no room, the datagram (and every later
// one, so the order stays) waits in this queue, and a thread of the queue hands it over as soon
// as there is room.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "platform/sockets.h"

namespace plat::detail {

struct QueuedDatagram {
    std::vector<char> bytes;
    SockAddrIn destination;
};

// What the queue needs of the kernel, for one socket. Results are errno values.
class DatagramKernel {
  public:
    static constexpr int kNoRoom = -1;

    virtual ~DatagramKernel() = default;
    // Hands the datagram over without waiting: 0, kNoRoom when the send buffer is full, or the
    // errno value of a failed send.
    virtual int SendNow(std::span<const char> bytes, const SockAddrIn& destination) = 0;
    // Returns when the send buffer may have room again, or after `most`.
    virtual void WaitForRoom(std::chrono::milliseconds most) = 0;
    // The errno value a send to `destination` would fail with at once whatever the buffer
    // holds (no route, broadcast not permitted), or 0.
    virtual int RefusalOf(const SockAddrIn& destination) = 0;
    // A datagram the queue had accepted and the kernel then refused.
    virtual void ReportLateFailure(const SockAddrIn& destination, int errorNumber) = 0;
};

class OrderedSendQueue {
  public:
    using Clock = std::chrono::steady_clock;

    // The kernel must outlive the queue.
    explicit OrderedSendQueue(DatagramKernel& kernel);
    // Ends the queue's thread; what still waits is dropped (Flush first to keep it).
    ~OrderedSendQueue();
    OrderedSendQueue(const OrderedSendQueue&) = delete;
    OrderedSendQueue& operator=(const OrderedSendQueue&) = delete;

    // 0 when the datagram was handed to the kernel or queued behind earlier ones (a copy is
    // kept); otherwise the errno value of a send that failed at once, and nothing is queued.
    // After Stop every send fails with EBADF.
    int Send(std::span<const char> bytes, const SockAddrIn& destination);

    // Waits until every queued datagram has been handed to the kernel or `deadline` has come;
    // returns how many still wait.
    std::size_t Flush(Clock::time_point deadline);

    // Flush, then ends the hand-over; returns how many datagrams it leaves unsent.
    std::size_t Stop(Clock::time_point deadline);

    std::size_t Waiting() const;

  private:
    void HandOver();

    DatagramKernel& kernel_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<QueuedDatagram> waiting_;
    bool ending_ = false;
    std::thread handOver_;
};

}  // namespace plat::detail
