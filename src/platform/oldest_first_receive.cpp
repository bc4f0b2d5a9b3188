#include "platform/detail/oldest_first_receive.h"

#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>

namespace plat::detail {

namespace {

// One member: nothing to order, so the datagram is taken directly.
int TakeFrom(int fd, std::span<char> buffer, bool peek, OldestFirstReceive::Taken& taken) {
    iovec part{buffer.data(), buffer.size()};
    msghdr message{};
    message.msg_name = &taken.source;
    message.msg_namelen = sizeof taken.source;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    const ssize_t received = recvmsg(fd, &message, (peek ? MSG_PEEK : 0) | MSG_DONTWAIT);
    if (received < 0) {
        return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR
                   ? OldestFirstReceive::kNothingQueued
                   : -1;
    }
    taken.length = static_cast<int>(received);
    taken.truncated = (message.msg_flags & MSG_TRUNC) != 0;
    return taken.length;
}

void Drop(int fd) {
    char nothing = 0;
    recv(fd, &nothing, 0, MSG_DONTWAIT);
}

}  // namespace

int OldestFirstReceive::TryTake(std::span<const int> members, std::span<char> buffer, bool peek,
                                Taken& taken) {
    if (members.size() == 1) {
        return TakeFrom(members.front(), buffer, peek, taken);
    }
    std::lock_guard lock(mutex_);
    const int oldest = Oldest(members);
    if (oldest < 0) {
        return errno == 0 ? kNothingQueued : -1;
    }
    const auto member = static_cast<std::size_t>(oldest);
    const int result = TakeFrom(members[member], buffer, peek, taken);
    if (result >= 0 && !peek) {
        Remember(heads_[member], member);
        heads_[member].known = false;
    }
    return result;
}

int OldestFirstReceive::NextLength(std::span<const int> members) {
    if (members.size() == 1) {
        int queued = 0;
        return ioctl(members.front(), FIONREAD, &queued) == 0 ? queued : -1;
    }
    std::lock_guard lock(mutex_);
    const int oldest = Oldest(members);
    if (oldest < 0) {
        return errno == 0 ? 0 : -1;
    }
    return static_cast<int>(heads_[static_cast<std::size_t>(oldest)].length);
}

int OldestFirstReceive::Oldest(std::span<const int> members) {
    heads_.resize(members.size());
    for (;;) {
        // One call tells which of the members not looked at yet hold anything: most are empty.
        std::vector<pollfd> unknown;
        std::vector<std::size_t> which;
        for (std::size_t i = 0; i < members.size(); ++i) {
            if (!heads_[i].known) {
                unknown.push_back({members[i], POLLIN, 0});
                which.push_back(i);
            }
        }
        if (!unknown.empty() && poll(unknown.data(), unknown.size(), 0) < 0 && errno != EINTR) {
            return -1;
        }
        for (std::size_t k = 0; k < unknown.size(); ++k) {
            if (unknown[k].revents != 0 && !Look(members[which[k]], heads_[which[k]])) {
                return -1;
            }
        }
        int oldest = -1;
        for (std::size_t i = 0; i < members.size(); ++i) {
            const Head& head = heads_[i];
            if (head.known &&
                (oldest < 0 || head.stamp < heads_[static_cast<std::size_t>(oldest)].stamp)) {
                oldest = static_cast<int>(i);
            }
        }
        if (oldest < 0) {
            errno = 0;
            return -1;
        }
        const auto member = static_cast<std::size_t>(oldest);
        if (!IsCopyOfTaken(heads_[member], member)) {
            return oldest;
        }
        Drop(members[member]);
        heads_[member].known = false;
    }
}

// False with errno set on a failure; true with `head.known` false when the member is empty.
bool OldestFirstReceive::Look(int fd, Head& head) {
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(timespec))];
    msghdr message{};
    message.msg_name = &head.source;
    message.msg_namelen = sizeof head.source;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    // MSG_TRUNC: the datagram's whole length, though nothing is copied.
    const ssize_t length = recvmsg(fd, &message, MSG_PEEK | MSG_DONTWAIT | MSG_TRUNC);
    if (length < 0) {
        if (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR) {
            head.known = false;
            return true;
        }
        return false;
    }
    head.known = true;
    head.length = static_cast<std::size_t>(length);
    head.stamp = 0;
    for (cmsghdr* item = CMSG_FIRSTHDR(&message); item != nullptr;
         item = CMSG_NXTHDR(&message, item)) {
        if (item->cmsg_level == SOL_SOCKET && item->cmsg_type == SCM_TIMESTAMPNS) {
            timespec stamp{};
            std::memcpy(&stamp, CMSG_DATA(item), sizeof stamp);
            head.stamp = static_cast<std::int64_t>(stamp.tv_sec) * 1'000'000'000 + stamp.tv_nsec;
        }
    }
    return true;
}

bool OldestFirstReceive::IsCopyOfTaken(const Head& head, std::size_t member) const {
    for (const Mark& mark : marks_) {
        if (mark.used && mark.member != member && mark.stamp == head.stamp &&
            mark.address == head.source.sin_addr.s_addr && mark.port == head.source.sin_port &&
            mark.length == head.length) {
            return true;
        }
    }
    return false;
}

void OldestFirstReceive::Remember(const Head& head, std::size_t member) {
    marks_[nextMark_] = {
        head.stamp, head.source.sin_addr.s_addr, head.source.sin_port, head.length, member, true};
    nextMark_ = (nextMark_ + 1) % kMarks;
}

}  // namespace plat::detail
