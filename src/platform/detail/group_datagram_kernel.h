// The kernel side of a handle's send queue (ordered_send_queue.h): sends without waiting, spread
// over the kernel sockets of the handle's group so that their buffers together hold what the
// handle asked for, and a route check for datagrams that have to wait their turn.
#pragma once

#include <chrono>
#include <cstddef>
#include <span>

#include "platform/detail/kernel_socket_group.h"
#include "platform/detail/ordered_send_queue.h"

namespace plat::detail {

class GroupDatagramKernel final : public DatagramKernel {
  public:
    // The group must outlive the kernel.
    explicit GroupDatagramKernel(const KernelSocketGroup& group) : group_(group) {}
    ~GroupDatagramKernel() override;
    GroupDatagramKernel(const GroupDatagramKernel&) = delete;
    GroupDatagramKernel& operator=(const GroupDatagramKernel&) = delete;

    // Tries the member that took the last datagram, then the others in turn: kNoRoom only when
    // no member has room.
    int SendNow(std::span<const char> bytes, const SockAddrIn& destination) override;
    void WaitForRoom(std::chrono::milliseconds most) override;
    int RefusalOf(const SockAddrIn& destination) override;
    void ReportLateFailure(const SockAddrIn& destination, int errorNumber) override;

  private:
    const KernelSocketGroup& group_;
    std::size_t current_ = 0;  // used by one sender at a time: the queue's lock is held
    int probe_ = -1;
};

// One send on one kernel socket without waiting: 0, DatagramKernel::kNoRoom, or the errno value.
int SendWithoutWaiting(int fd, std::span<const char> bytes, const SockAddrIn& destination);

}  // namespace plat::detail
