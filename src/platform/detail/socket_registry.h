// The real sockets the program has open, by descriptor: for each, its kernel sockets, its
// receive and its send queue.
//
// A socket's entry goes when it is closed, after what its queue holds has been handed to the
// kernel within a bound. At the end of the program whatever still waits is handed over first,
// within one bound for all, and what is left is counted on the debugger output.
#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <mutex>
#include <span>

#include <sys/types.h>

#include "platform/detail/group_datagram_kernel.h"
#include "platform/detail/kernel_socket_group.h"
#include "platform/detail/oldest_first_receive.h"
#include "platform/detail/ordered_send_queue.h"

namespace plat::detail {

struct RealSocket {
    explicit RealSocket(int lead) : group(lead) {}
    KernelSocketGroup group;
    OldestFirstReceive receive;
    GroupDatagramKernel kernel{group};
    OrderedSendQueue queue{kernel};
    bool closing = false;  // guarded by the registry's lock
};

class SocketRegistry {
  public:
    static SocketRegistry& Instance();

    // A socket the program made: only these become groups of kernel sockets.
    void Add(int fd);
    // The entry of `fd`, or null.
    std::shared_ptr<RealSocket> Find(int fd);

    // 0, or the errno value of a send that failed at once. A descriptor the program did not make
    // through the registry gets an entry of its own here, for its send queue.
    int Send(int fd, std::span<const char> bytes, const SockAddrIn& destination);

    // Hands over what the socket's queue holds, within the bound, then closes its kernel
    // sockets; the errno value of a failed close of the descriptor, or 0.
    int Close(int fd);

    std::size_t Waiting(int fd);

  private:
    using Clock = OrderedSendQueue::Clock;

    SocketRegistry();
    static void Finish(RealSocket& socket, Clock::time_point deadline, const char* why);
    void FinishAll();

    const pid_t process_;
    std::mutex mutex_;
    std::map<int, std::shared_ptr<RealSocket>> sockets_;
    bool programEnding_ = false;
};

}  // namespace plat::detail
