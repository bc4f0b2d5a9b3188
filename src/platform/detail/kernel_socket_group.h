// The kernel sockets behind one socket of the tool.
//
// The tool asks its socket for 8 MB of receive and of send buffer, and the socket library it was
// made for grants that: replies wait in the socket while the worker does not run (a result box it
// shows is open, its first receive has not come yet, another thread holds the CPU), and a long
// request over every /24 is held by the system when the send returns. A stock Linux kernel grants
// an unprivileged socket 425,984 bytes (twice net.core.rmem_max): 184 replies of 884 bytes, where
// 200 devices send 600 within a few milliseconds.
//
// So where one kernel socket holds less than was asked for, the handle stands for a group of
// kernel sockets on one port (SO_REUSEPORT), as many as the asked size needs:
// - the first one (the lead, whose descriptor is the handle) is bound alone, without
//   SO_REUSEPORT, so the port it gets is one that no socket holds; the others then join it on
//   that port. (A socket bound to port 0 with SO_REUSEPORT set may be given a port that another
//   group of the same user holds: two instances of the tool would share one.)
// - a steering program sends each unicast datagram to the member given by its source address,
//   so every datagram of one sender waits in one member and none reaches a socket of another
//   program that joined the port later;
// - every member stamps each datagram with its kernel receive time, which the receive uses to
//   take the oldest first (see oldest_first_receive.h);
// - sends spread over the members, each member's buffer holding its share.
// Where the kernel grants what was asked (root, a large rmem_max), the lead stays alone, as does
// any socket that asks for nothing. Where a group cannot be made, the lead stays alone and the
// program says so once.
#pragma once

#include <netinet/in.h>

#include <mutex>
#include <vector>

namespace plat::detail {

enum class KernelBuffer { kReceive, kSend };

class KernelSocketGroup {
  public:
    // More members than this are not made, however little each one holds.
    static constexpr int kMostMembers = 64;

    explicit KernelSocketGroup(int lead) : members_{lead} {}
    KernelSocketGroup(const KernelSocketGroup&) = delete;
    KernelSocketGroup& operator=(const KernelSocketGroup&) = delete;

    int Lead() const { return members_.front(); }

    // Each returns 0 or the errno value of the lead's call. What is asked before the bind is
    // remembered for the members the bind adds; what is asked after it goes to every member.
    int SetBroadcast(int on);
    int SetBuffer(KernelBuffer which, int size);
    // Binds the lead; once it is bound, adds the members the asked buffers need. Only the lead's
    // bind can fail.
    int Bind(const sockaddr_in& local);

    // The lead first.
    std::vector<int> Members() const;

    // Closes every member but the lead, whose close is the caller's (it reports its result).
    void CloseMembers();

  private:
    // How many kernel sockets hold the asked buffers, by what the lead was granted.
    int MembersNeeded() const;
    // Adds `count` - 1 members on the lead's port; false (and none added) when one cannot join.
    bool Form(const sockaddr_in& local, int count, int& failure);
    int NewMember(const sockaddr_in& bound) const;

    mutable std::mutex mutex_;
    std::vector<int> members_;
    int broadcast_ = -1;  // -1: never asked
    int askedReceive_ = 0;
    int askedSend_ = 0;
};

// Asks the kernel socket for `size` bytes of buffer: forced where the program may and no cap is
// set (kernel_buffer_cap.h), otherwise as much as the kernel grants. 0 or the errno value.
int AskKernelBuffer(int fd, KernelBuffer which, int size);

}  // namespace plat::detail
