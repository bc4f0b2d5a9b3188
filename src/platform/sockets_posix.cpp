// The real sockets: POSIX UDP sockets behind the socket-library calls.
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <span>
#include <vector>

#include "platform/detail/posix_address.h"
#include "platform/detail/posix_errors.h"
#include "platform/detail/socket_registry.h"
#include "platform/kernel.h"
#include "platform/output.h"
#include "platform/sockets.h"

namespace plat {

using detail::FromPosix;
using detail::ToPosix;

namespace {

constexpr WORD kHighestVersion = 0x0202;
constexpr int kAddressLength = static_cast<int>(sizeof(SockAddrIn));
// An IPv4 datagram's 65,535 bytes less the IP and UDP headers.
constexpr int kLargestDatagram = 65507;
// Without a wake-up descriptor a receive looks for a thread end this often.
constexpr int kFallbackPollMilliseconds = 50;

std::atomic<bool> failStartup{false};

thread_local int lastError = 0;

int Fail(int code) {
    lastError = code;
    return SOCKET_ERROR;
}

int FailFromErrno() {
    return Fail(detail::WsaErrorFromErrno(errno));
}

bool ToDescriptor(SOCKET s, int& fd) {
    if (s == INVALID_SOCKET || s > static_cast<SOCKET>(INT_MAX)) {
        return false;
    }
    fd = static_cast<int>(s);
    return true;
}

// The registry's entry of a socket. A descriptor the program did not make here is one kernel
// socket: it gets an entry of its own for the one call.
std::shared_ptr<detail::RealSocket> EntryOf(int fd) {
    std::shared_ptr<detail::RealSocket> socket = detail::SocketRegistry::Instance().Find(fd);
    return socket ? socket : std::make_shared<detail::RealSocket>(fd);
}

// Version as major in the low byte, minor in the high byte; compared as major.minor.
int VersionRank(WORD version) {
    return (version & 0xFF) * 256 + (version >> 8);
}

// Written by the wake-up of a thread being ended, so a receive's poll returns. One per thread,
// made on first use: a thread that is ending never stops ending, so it is never drained.
class ThreadWakeDescriptor {
  public:
    ~ThreadWakeDescriptor() {
        if (fd_ >= 0) {
            close(fd_);
        }
    }
    int Get() {
        if (fd_ < 0) {
            fd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        }
        return fd_;
    }

  private:
    int fd_ = -1;
};

thread_local ThreadWakeDescriptor wakeDescriptor;

// A boolean option may come as one byte (as the tool passes SO_BROADCAST) or as an int; the
// kernel takes only the int.
bool ReadSwitch(const char* value, int length, int& on) {
    if (value == nullptr || length < 1) {
        return false;
    }
    if (length < static_cast<int>(sizeof(int))) {
        on = value[0] != 0 ? 1 : 0;
        return true;
    }
    int asInt;
    std::memcpy(&asInt, value, sizeof asInt);
    on = asInt != 0 ? 1 : 0;
    return true;
}

class PosixSocketService final : public SocketService {
  public:
    int WSAStartup(WORD version, WSAData* data) override {
        if (failStartup.load()) {
            return WSASYSNOTREADY;
        }
        if ((version & 0xFF) == 0) {
            return WSAVERNOTSUPPORTED;
        }
        if (data == nullptr) {
            return WSAEFAULT;
        }
        data->wVersion =
            VersionRank(version) > VersionRank(kHighestVersion) ? kHighestVersion : version;
        data->wHighVersion = kHighestVersion;
        startups_.fetch_add(1);
        return 0;
    }

    int WSACleanup() override {
        int current = startups_.load();
        while (current > 0) {
            if (startups_.compare_exchange_weak(current, current - 1)) {
                return 0;
            }
        }
        return Fail(WSANOTINITIALISED);
    }

    SOCKET WSASocketW(int af, int type, int protocol, void* /*protocolInfo*/, unsigned /*group*/,
                      DWORD /*flags*/) override {
        if (af != kAfInet) {
            Fail(WSAEAFNOSUPPORT);
            return INVALID_SOCKET;
        }
        if (type != kSockDgram) {
            Fail(WSAEINVAL);
            return INVALID_SOCKET;
        }
        // Close-on-exec, so a browser started from the tool does not inherit the socket.
        const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, protocol);
        if (fd < 0) {
            FailFromErrno();
            return INVALID_SOCKET;
        }
        detail::SocketRegistry::Instance().Add(fd);
        return static_cast<SOCKET>(fd);
    }

    int setsockopt(SOCKET s, int level, int option, const char* value, int length) override {
        int fd;
        if (!ToDescriptor(s, fd)) {
            return Fail(WSAENOTSOCK);
        }
        if (level != kSolSocket) {
            return Fail(WSAEINVAL);
        }
        detail::KernelSocketGroup& group = EntryOf(fd)->group;
        switch (option) {
            case kSoBroadcast: {
                int on;
                if (!ReadSwitch(value, length, on)) {
                    return Fail(WSAEFAULT);
                }
                return Result(group.SetBroadcast(on));
            }
            case kSoSndBuf:
            case kSoRcvBuf: {
                if (value == nullptr || length < static_cast<int>(sizeof(int))) {
                    return Fail(WSAEFAULT);
                }
                int size;
                std::memcpy(&size, value, sizeof size);
                if (size < 0) {
                    return Fail(WSAEINVAL);
                }
                return Result(group.SetBuffer(option == kSoSndBuf ? detail::KernelBuffer::kSend
                                                                  : detail::KernelBuffer::kReceive,
                                              size));
            }
            default:
                return Fail(WSAENOPROTOOPT);
        }
    }

    int bind(SOCKET s, const SockAddrIn* address, int length) override {
        int fd;
        if (!ToDescriptor(s, fd)) {
            return Fail(WSAENOTSOCK);
        }
        if (address == nullptr || length < kAddressLength) {
            return Fail(WSAEFAULT);
        }
        if (address->sin_family != kAfInet) {
            return Fail(WSAEAFNOSUPPORT);
        }
        return Result(EntryOf(fd)->group.Bind(ToPosix(*address)));
    }

    int getsockname(SOCKET s, SockAddrIn* address, int* length) override {
        int fd;
        if (!ToDescriptor(s, fd)) {
            return Fail(WSAENOTSOCK);
        }
        if (address == nullptr || length == nullptr || *length < kAddressLength) {
            return Fail(WSAEFAULT);
        }
        sockaddr_in posix{};
        socklen_t posixLength = sizeof posix;
        if (::getsockname(fd, reinterpret_cast<sockaddr*>(&posix), &posixLength) != 0) {
            return FailFromErrno();
        }
        if (posix.sin_family != AF_INET) {
            return Fail(WSAEINVAL);
        }
        *address = FromPosix(posix);
        *length = kAddressLength;
        return 0;
    }

    int sendto(SOCKET s, const char* data, int length, int flags, const SockAddrIn* destination,
               int destinationLength) override {
        int fd;
        if (!ToDescriptor(s, fd)) {
            return Fail(WSAENOTSOCK);
        }
        if (length < 0 || (data == nullptr && length > 0) || destination == nullptr ||
            destinationLength < kAddressLength) {
            return Fail(WSAEFAULT);
        }
        if (flags != 0) {
            return Fail(WSAEINVAL);
        }
        if (length > kLargestDatagram) {
            return Fail(WSAEMSGSIZE);  // at once, also when it would have had to wait its turn
        }
        // Never waits for the kernel's buffer: the tool sends from its UI thread.
        const int result = detail::SocketRegistry::Instance().Send(
            fd, std::span<const char>(data, static_cast<std::size_t>(length)), *destination);
        if (result != 0) {
            return Fail(detail::WsaErrorFromErrno(result));
        }
        return length;
    }

    int recvfrom(SOCKET s, char* buffer, int length, int flags, SockAddrIn* from,
                 int* fromLength) override {
        int fd;
        if (!ToDescriptor(s, fd)) {
            return Fail(WSAENOTSOCK);
        }
        if (length < 0 || (buffer == nullptr && length > 0) ||
            (from != nullptr && (fromLength == nullptr || *fromLength < kAddressLength))) {
            return Fail(WSAEFAULT);
        }
        if ((flags & ~kMsgPeek) != 0) {
            return Fail(WSAEINVAL);
        }
        const std::shared_ptr<detail::RealSocket> socket = EntryOf(fd);
        const std::vector<int> members = socket->group.Members();
        detail::OldestFirstReceive& receive = socket->receive;
        const int wakeFd = wakeDescriptor.Get();
        InterruptibleWait interruption([wakeFd] {
            if (wakeFd >= 0) {
                const std::uint64_t one = 1;
                const ssize_t written = write(wakeFd, &one, sizeof one);
                static_cast<void>(written);
            }
        });
        for (;;) {
            if (CurrentThreadEnding()) {
                return Fail(WSAEINTR);
            }
            detail::OldestFirstReceive::Taken taken;
            const int result =
                receive.TryTake(members, std::span<char>(buffer, static_cast<std::size_t>(length)),
                                (flags & kMsgPeek) != 0, taken);
            if (result >= 0) {
                if (from != nullptr) {
                    *from = FromPosix(taken.source);
                    *fromLength = kAddressLength;
                }
                return taken.truncated ? Fail(WSAEMSGSIZE) : result;
            }
            if (result != detail::OldestFirstReceive::kNothingQueued) {
                return FailFromErrno();
            }
            if (const int failure = WaitForDatagram(members, wakeFd); failure != 0) {
                return Fail(failure);
            }
        }
    }

    int ioctlsocket(SOCKET s, long command, unsigned long* argument) override {
        int fd;
        if (!ToDescriptor(s, fd)) {
            return Fail(WSAENOTSOCK);
        }
        // Only the size query: the socket must never leave blocking mode.
        if (command != kFionread) {
            return Fail(WSAEINVAL);
        }
        if (argument == nullptr) {
            return Fail(WSAEFAULT);
        }
        const std::shared_ptr<detail::RealSocket> socket = EntryOf(fd);
        const int queued = socket->receive.NextLength(socket->group.Members());
        if (queued < 0) {
            return FailFromErrno();
        }
        *argument = static_cast<unsigned long>(queued);
        return 0;
    }

    int closesocket(SOCKET s) override {
        int fd;
        if (!ToDescriptor(s, fd)) {
            return Fail(WSAENOTSOCK);
        }
        if (const int error = detail::SocketRegistry::Instance().Close(fd); error != 0) {
            return Fail(detail::WsaErrorFromErrno(error));
        }
        return 0;
    }

    int WSAGetLastError() override { return lastError; }

  private:
    static int Result(int errorNumber) {
        return errorNumber == 0 ? 0 : Fail(detail::WsaErrorFromErrno(errorNumber));
    }

    // Blocks until a member may hold a datagram or the thread is being ended: 0, or the socket
    // library's code of a failure.
    static int WaitForDatagram(const std::vector<int>& members, int wakeFd) {
        std::vector<pollfd> watched;
        for (const int member : members) {
            watched.push_back({member, POLLIN, 0});
        }
        if (wakeFd >= 0) {
            watched.push_back({wakeFd, POLLIN, 0});
        }
        const int ready =
            poll(watched.data(), watched.size(), wakeFd >= 0 ? -1 : kFallbackPollMilliseconds);
        if (ready < 0 && errno != EINTR) {
            return detail::WsaErrorFromErrno(errno);
        }
        for (std::size_t i = 0; i < members.size(); ++i) {
            if ((watched[i].revents & POLLNVAL) != 0) {
                return WSAENOTSOCK;
            }
        }
        return 0;
    }

    std::atomic<int> startups_{0};
};

}  // namespace

SocketService& RealSocketService() {
    static auto* service = new PosixSocketService();
    return *service;
}

namespace testing {

void FailSocketStartup(bool fail) {
    failStartup.store(fail);
}

std::size_t QueuedDatagrams(SOCKET s) {
    int fd;
    return ToDescriptor(s, fd) ? detail::SocketRegistry::Instance().Waiting(fd) : 0;
}

std::size_t KernelSockets(SOCKET s) {
    int fd;
    if (!ToDescriptor(s, fd)) {
        return 0;
    }
    return EntryOf(fd)->group.Members().size();
}

}  // namespace testing

}  // namespace plat
