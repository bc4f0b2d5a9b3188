// The receive of a handle whose datagrams wait in several kernel sockets (kernel_socket_group.h),
// as from one socket: datagrams come out in the order they arrived, each once.
//
// - Order: each member holds its datagrams in arrival order; of the members' first datagrams
//   the one with the earliest kernel receive time (SO_TIMESTAMPNS) is taken first.
// - Once: a broadcast to the port reaches every member, each copy with the one receive time of
//   the datagram. Unicast from one sender always waits in one member, so two datagrams in
//   different members from one source with one receive time are copies of one: the first is
//   taken, the others are dropped, also those that reach their member a moment later.
#pragma once

#include <netinet/in.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <span>
#include <vector>

namespace plat::detail {

class OldestFirstReceive {
  public:
    static constexpr int kNothingQueued = -2;

    struct Taken {
        int length = 0;  // the datagram's bytes in the buffer
        bool truncated = false;
        sockaddr_in source{};
    };

    // Takes the oldest datagram queued in any of `members` into `buffer` (with `peek`, leaves it
    // queued), without waiting. Returns the datagram's length, kNothingQueued, or -1 with errno
    // set. A datagram longer than the buffer fills it and is marked truncated; its rest is lost.
    int TryTake(std::span<const int> members, std::span<char> buffer, bool peek, Taken& taken);

    // The length of the datagram the next TryTake would give, 0 when none is queued, or -1 with
    // errno set.
    int NextLength(std::span<const int> members);

  private:
    // What a member's first datagram is, found by looking at it without taking it.
    struct Head {
        bool known = false;
        std::int64_t stamp = 0;  // kernel receive time, ns
        sockaddr_in source{};
        std::size_t length = 0;
    };
    // A datagram taken lately, to know its copies by.
    struct Mark {
        std::int64_t stamp = 0;
        std::uint32_t address = 0;
        std::uint16_t port = 0;
        std::size_t length = 0;
        std::size_t member = 0;
        bool used = false;
    };
    // Enough for the copies of many broadcasts: all copies of one arrive within microseconds.
    static constexpr std::size_t kMarks = 64;

    // The member whose first datagram is the oldest, with its copies already dropped; -1 when
    // none holds one (errno 0), or -1 with errno set on a failure.
    int Oldest(std::span<const int> members);
    bool Look(int fd, Head& head);
    bool IsCopyOfTaken(const Head& head, std::size_t member) const;
    void Remember(const Head& head, std::size_t member);

    std::mutex mutex_;
    std::vector<Head> heads_;
    std::array<Mark, kMarks> marks_{};
    std::size_t nextMark_ = 0;
};

}  // namespace plat::detail
