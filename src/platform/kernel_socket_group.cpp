#include "platform/detail/kernel_socket_group.h"

#include <linux/errqueue.h>
#include <linux/filter.h>
#include <linux/net_tstamp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "platform/detail/kernel_buffer_cap.h"
#include "platform/kernel.h"
#include "platform/output.h"

namespace plat::detail {

namespace {

// Where the IPv4 source address lies in the network header.
constexpr std::uint32_t kIpv4SourceOffset = 12;
// How long forming a group waits for the kernel to take receive times, at the most.
constexpr auto kReceiveTimesWithin = std::chrono::milliseconds(200);

int SetFlag(int fd, int option, int on) {
    return ::setsockopt(fd, SOL_SOCKET, option, &on, sizeof on) == 0 ? 0 : errno;
}

int Granted(int fd, KernelBuffer which) {
    int granted = 0;
    socklen_t length = sizeof granted;
    const int option = which == KernelBuffer::kReceive ? SO_RCVBUF : SO_SNDBUF;
    return ::getsockopt(fd, SOL_SOCKET, option, &granted, &length) == 0 ? granted : 0;
}

// Kernel sockets of `granted` bytes each that hold `asked` bytes together.
int SocketsFor(int asked, int granted) {
    if (asked <= granted || granted <= 0) {
        return 1;
    }
    return static_cast<int>((static_cast<long long>(asked) + granted - 1) / granted);
}

// The member a unicast datagram waits in: its source address modulo the number of members, so
// one sender's datagrams keep their order in one member, and the hosts of a /24 (consecutive
// numbers) spread evenly. The kernel runs it with the datagram's payload at offset 0;
// SKF_NET_OFF reaches back to the IP header.
int Steer(int fd, int members) {
    sock_filter program[] = {
        {static_cast<std::uint16_t>(BPF_LD | BPF_W | BPF_ABS), 0, 0,
         static_cast<std::uint32_t>(SKF_NET_OFF) + kIpv4SourceOffset},
        {static_cast<std::uint16_t>(BPF_ALU | BPF_MOD | BPF_K), 0, 0,
         static_cast<std::uint32_t>(members)},
        {static_cast<std::uint16_t>(BPF_RET | BPF_A), 0, 0, 0},
    };
    sock_fprog steering{static_cast<unsigned short>(std::size(program)), program};
    return ::setsockopt(fd, SOL_SOCKET, SO_ATTACH_REUSEPORT_CBPF, &steering, sizeof steering) == 0
               ? 0
               : errno;
}

// True when a datagram sent to itself on loop-back came with the time the kernel received it.
// SO_TIMESTAMPING reports no time at all for a datagram the kernel did not stamp on its arrival
// (SO_TIMESTAMPNS would give the time of the receive call instead).
bool ReceiveTimeTaken(int probe, const sockaddr_in& self) {
    const char ping = 0;
    if (::sendto(probe, &ping, 1, 0, reinterpret_cast<const sockaddr*>(&self), sizeof self) != 1) {
        return false;
    }
    pollfd watched{probe, POLLIN, 0};
    if (poll(&watched, 1, 10) != 1) {
        return false;
    }
    char byte = 0;
    iovec part{&byte, 1};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(scm_timestamping))];
    msghdr message{};
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    if (recvmsg(probe, &message, MSG_DONTWAIT) < 0) {
        return false;
    }
    for (cmsghdr* item = CMSG_FIRSTHDR(&message); item != nullptr;
         item = CMSG_NXTHDR(&message, item)) {
        if (item->cmsg_level == SOL_SOCKET && item->cmsg_type == SCM_TIMESTAMPING) {
            scm_timestamping times{};
            std::memcpy(&times, CMSG_DATA(item), sizeof times);
            return times.ts[0].tv_sec != 0 || times.ts[0].tv_nsec != 0;
        }
    }
    return false;
}

// The kernel stamps arriving datagrams only once some socket asked for it, and switches that on
// a moment after the first one asks. Datagrams that come in between have no receive time: the
// group could not put them in order, nor know a broadcast's copies. So the group's port is
// handed out only once the kernel takes receive times, or after a bound (then the first
// datagrams may come out of order; none is lost).
void WaitForReceiveTimes() {
    const int probe = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (probe < 0) {
        return;
    }
    sockaddr_in self{};
    self.sin_family = AF_INET;
    self.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof self;
    const int flags = SOF_TIMESTAMPING_RX_SOFTWARE | SOF_TIMESTAMPING_SOFTWARE;
    if (::bind(probe, reinterpret_cast<const sockaddr*>(&self), sizeof self) == 0 &&
        ::getsockname(probe, reinterpret_cast<sockaddr*>(&self), &length) == 0 &&
        ::setsockopt(probe, SOL_SOCKET, SO_TIMESTAMPING, &flags, sizeof flags) == 0) {
        const auto deadline = std::chrono::steady_clock::now() + kReceiveTimesWithin;
        while (!ReceiveTimeTaken(probe, self) && std::chrono::steady_clock::now() < deadline) {
            usleep(1000);
        }
    }
    close(probe);
}

void ReportNoGroupOnce(int port, int wanted, int failure, int queueBytes) {
    static std::atomic<bool> reported{false};
    if (reported.exchange(true)) {
        return;
    }
    char line[200];
    std::snprintf(line, sizeof line,
                  "Only one kernel socket for port %d: a group of %d could not be made (error %d); "
                  "replies beyond its %d-byte queue may be lost\n",
                  port, wanted, failure, queueBytes);
    OutputDebugStringA(line);
}

}  // namespace

int AskKernelBuffer(int fd, KernelBuffer which, int size) {
    const bool receive = which == KernelBuffer::kReceive;
    if (const int cap = KernelBufferCap(); cap > 0) {
        size = std::min(size, cap);
    } else if (::setsockopt(fd, SOL_SOCKET, receive ? SO_RCVBUFFORCE : SO_SNDBUFFORCE, &size,
                            sizeof size) == 0) {
        return 0;
    }
    // Capped silently by the kernel: not a failure.
    return ::setsockopt(fd, SOL_SOCKET, receive ? SO_RCVBUF : SO_SNDBUF, &size, sizeof size) == 0
               ? 0
               : errno;
}

int KernelSocketGroup::SetBroadcast(int on) {
    std::lock_guard lock(mutex_);
    const int result = SetFlag(Lead(), SO_BROADCAST, on);
    if (result != 0) {
        return result;
    }
    broadcast_ = on;
    for (std::size_t i = 1; i < members_.size(); ++i) {
        SetFlag(members_[i], SO_BROADCAST, on);
    }
    return 0;
}

int KernelSocketGroup::SetBuffer(KernelBuffer which, int size) {
    std::lock_guard lock(mutex_);
    const int result = AskKernelBuffer(Lead(), which, size);
    if (result != 0) {
        return result;
    }
    (which == KernelBuffer::kReceive ? askedReceive_ : askedSend_) = size;
    for (std::size_t i = 1; i < members_.size(); ++i) {
        AskKernelBuffer(members_[i], which, size);
    }
    return 0;
}

int KernelSocketGroup::Bind(const sockaddr_in& local) {
    std::lock_guard lock(mutex_);
    if (::bind(Lead(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        return errno;
    }
    const int count = MembersNeeded();
    if (count > 1) {
        int failure = 0;
        if (!Form(local, count, failure)) {
            sockaddr_in bound{};
            socklen_t length = sizeof bound;
            ::getsockname(Lead(), reinterpret_cast<sockaddr*>(&bound), &length);
            ReportNoGroupOnce(ntohs(bound.sin_port), count, failure,
                              Granted(Lead(), KernelBuffer::kReceive));
        }
    }
    return 0;
}

std::vector<int> KernelSocketGroup::Members() const {
    std::lock_guard lock(mutex_);
    return members_;
}

void KernelSocketGroup::CloseMembers() {
    std::lock_guard lock(mutex_);
    for (std::size_t i = 1; i < members_.size(); ++i) {
        close(members_[i]);
    }
    members_.resize(1);
}

int KernelSocketGroup::MembersNeeded() const {
    const int needed = std::max(SocketsFor(askedReceive_, Granted(Lead(), KernelBuffer::kReceive)),
                                SocketsFor(askedSend_, Granted(Lead(), KernelBuffer::kSend)));
    return std::min(needed, kMostMembers);
}

bool KernelSocketGroup::Form(const sockaddr_in& local, int count, int& failure) {
    sockaddr_in bound{};
    socklen_t length = sizeof bound;
    if (::getsockname(Lead(), reinterpret_cast<sockaddr*>(&bound), &length) != 0) {
        failure = errno;
        return false;
    }
    bound.sin_addr = local.sin_addr;
    // The lead's port is its own: it was bound without SO_REUSEPORT. Set now, the option lets
    // the members join it.
    failure = SetFlag(Lead(), SO_REUSEPORT, 1);
    if (failure == 0) {
        failure = SetFlag(Lead(), SO_TIMESTAMPNS, 1);
    }
    std::vector<int> joined{Lead()};
    while (failure == 0 && static_cast<int>(joined.size()) < count) {
        const int fd = NewMember(bound);
        if (fd < 0) {
            failure = -fd;
            break;
        }
        joined.push_back(fd);
    }
    if (failure == 0) {
        failure = Steer(Lead(), count);
    }
    if (failure != 0) {
        for (std::size_t i = 1; i < joined.size(); ++i) {
            close(joined[i]);
        }
        SetFlag(Lead(), SO_REUSEPORT, 0);
        return false;
    }
    members_ = std::move(joined);
    WaitForReceiveTimes();
    return true;
}

// A descriptor, or minus the errno value.
int KernelSocketGroup::NewMember(const sockaddr_in& bound) const {
    const int fd = ::socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -errno;
    }
    int failure = SetFlag(fd, SO_REUSEPORT, 1);
    if (failure == 0) {
        failure = SetFlag(fd, SO_TIMESTAMPNS, 1);
    }
    if (failure == 0 && broadcast_ >= 0) {
        failure = SetFlag(fd, SO_BROADCAST, broadcast_);
    }
    if (failure == 0 && askedReceive_ > 0) {
        failure = AskKernelBuffer(fd, KernelBuffer::kReceive, askedReceive_);
    }
    if (failure == 0 && askedSend_ > 0) {
        failure = AskKernelBuffer(fd, KernelBuffer::kSend, askedSend_);
    }
    if (failure == 0 && ::bind(fd, reinterpret_cast<const sockaddr*>(&bound), sizeof bound) != 0) {
        failure = errno;
    }
    if (failure != 0) {
        close(fd);
        return -failure;
    }
    return fd;
}

}  // namespace plat::detail
