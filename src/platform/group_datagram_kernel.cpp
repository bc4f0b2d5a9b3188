#include "platform/detail/group_datagram_kernel.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/detail/posix_address.h"
#include "platform/detail/posix_errors.h"
#include "platform/kernel.h"
#include "platform/output.h"

namespace plat::detail {

int SendWithoutWaiting(int fd, std::span<const char> bytes, const SockAddrIn& destination) {
    const sockaddr_in posix = ToPosix(destination);
    for (;;) {
        if (::sendto(fd, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                     reinterpret_cast<const sockaddr*>(&posix), sizeof posix) >= 0) {
            return 0;
        }
        if (errno != EINTR) {
            return errno == EAGAIN || errno == EWOULDBLOCK ? DatagramKernel::kNoRoom : errno;
        }
    }
}

GroupDatagramKernel::~GroupDatagramKernel() {
    if (probe_ >= 0) {
        close(probe_);
    }
}

// Each member is filled before the next is tried, so the datagrams of one sweep leave in the
// order they were sent: every send reaches the device queue, or the queue of an address still
// being resolved, before the call returns.
int GroupDatagramKernel::SendNow(std::span<const char> bytes, const SockAddrIn& destination) {
    const std::vector<int> members = group_.Members();
    for (std::size_t tried = 0; tried < members.size(); ++tried) {
        const std::size_t member = (current_ + tried) % members.size();
        const int result = SendWithoutWaiting(members[member], bytes, destination);
        if (result != kNoRoom) {
            current_ = member;
            return result;
        }
    }
    return kNoRoom;
}

void GroupDatagramKernel::WaitForRoom(std::chrono::milliseconds most) {
    std::vector<pollfd> watched;
    for (const int fd : group_.Members()) {
        watched.push_back({fd, POLLOUT, 0});
    }
    poll(watched.data(), watched.size(), static_cast<int>(most.count()));
}

// Connecting a datagram socket looks the route up and sends nothing.
int GroupDatagramKernel::RefusalOf(const SockAddrIn& destination) {
    if (probe_ < 0) {
        probe_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (probe_ < 0) {
            return 0;  // cannot tell: the hand-over reports a failure if there is one
        }
    }
    int broadcast = 0;
    socklen_t length = sizeof broadcast;
    ::getsockopt(group_.Lead(), SOL_SOCKET, SO_BROADCAST, &broadcast, &length);
    ::setsockopt(probe_, SOL_SOCKET, SO_BROADCAST, &broadcast, sizeof broadcast);
    const sockaddr_in posix = ToPosix(destination);
    const int refusal =
        connect(probe_, reinterpret_cast<const sockaddr*>(&posix), sizeof posix) == 0 ? 0 : errno;
    // A connected datagram socket keeps the source address it was given, and from a fixed
    // source the limited broadcast needs no route: dissolve the connection every time.
    sockaddr unspecified{};
    unspecified.sa_family = AF_UNSPEC;
    connect(probe_, &unspecified, sizeof unspecified);
    switch (refusal) {
        case ENETUNREACH:
        case EHOSTUNREACH:
        case ENETDOWN:
        case EACCES:
        case EINVAL:  // a blackhole route
            return refusal;
        default:
            return 0;
    }
}

void GroupDatagramKernel::ReportLateFailure(const SockAddrIn& destination, int errorNumber) {
    char address[16] = {};
    inet_ntop(kAfInet, &destination.sin_addr, address, sizeof address);
    char line[96];
    std::snprintf(line, sizeof line, "Queued sendto %s failed with error: %d\n", address,
                  WsaErrorFromErrno(errorNumber));
    OutputDebugStringA(line);
}

}  // namespace plat::detail
