// The real sockets: POSIX UDP sockets behind the socket-library calls.
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "platform/detail/kernel_buffer_cap.h"
#include "platform/detail/ordered_send_queue.h"
#include "platform/detail/posix_errors.h"
#include "platform/kernel.h"
#include "platform/output.h"
#include "platform/sockets.h"

namespace plat {

namespace {

constexpr WORD kHighestVersion = 0x0202;
constexpr int kAddressLength = static_cast<int>(sizeof(SockAddrIn));
// An IPv4 datagram's 65,535 bytes less the IP and UDP headers.
constexpr int kLargestDatagram = 65507;
// Without a wake-up descriptor a receive looks for a thread end this often.
constexpr int kFallbackPollMilliseconds = 50;
// How long closing a socket, or the end of the program, waits for datagrams that were sent but
// are still queued for want of send-buffer room. The kernel frees a full buffer within about
// 3 s (the time address resolution of an absent host takes); a 724-byte request over two /24s
// at the buffer a stock kernel grants needs two such rounds.
constexpr auto kQueuedSendsBound = std::chrono::seconds(7);

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

sockaddr_in ToPosix(const SockAddrIn& address) {
    sockaddr_in posix{};
    posix.sin_family = AF_INET;
    posix.sin_port = address.sin_port;
    posix.sin_addr.s_addr = address.sin_addr.s_addr;
    return posix;
}

SockAddrIn FromPosix(const sockaddr_in& posix) {
    SockAddrIn address{};
    address.sin_family = static_cast<std::int16_t>(kAfInet);
    address.sin_port = posix.sin_port;
    address.sin_addr.s_addr = posix.sin_addr.s_addr;
    return address;
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

// Asks for `size` bytes of buffer: the forcing option passes the system's cap when we may; the
// plain one is capped silently. Neither outcome is a failure.
int SetBufferSize(int fd, int forcing, int plain, int size) {
    if (const int cap = detail::KernelBufferCap(); cap > 0) {
        size = std::min(size, cap);
    } else if (::setsockopt(fd, SOL_SOCKET, forcing, &size, sizeof size) == 0) {
        return 0;
    }
    if (::setsockopt(fd, SOL_SOCKET, plain, &size, sizeof size) == 0) {
        return 0;
    }
    return FailFromErrno();
}

// One socket's side of the send queue: the kernel's sends without waiting, and a second socket
// that asks the routing table whether a queued send could go at all.
class PosixDatagramKernel final : public detail::DatagramKernel {
  public:
    explicit PosixDatagramKernel(int fd) : fd_(fd) {}
    ~PosixDatagramKernel() override {
        if (probe_ >= 0) {
            close(probe_);
        }
    }
    PosixDatagramKernel(const PosixDatagramKernel&) = delete;
    PosixDatagramKernel& operator=(const PosixDatagramKernel&) = delete;

    int SendNow(std::span<const char> bytes, const SockAddrIn& destination) override {
        const sockaddr_in posix = ToPosix(destination);
        for (;;) {
            if (::sendto(fd_, bytes.data(), bytes.size(), MSG_DONTWAIT | MSG_NOSIGNAL,
                         reinterpret_cast<const sockaddr*>(&posix), sizeof posix) >= 0) {
                return 0;
            }
            if (errno != EINTR) {
                return errno == EAGAIN || errno == EWOULDBLOCK ? kNoRoom : errno;
            }
        }
    }

    void WaitForRoom(std::chrono::milliseconds most) override {
        pollfd watched{fd_, POLLOUT, 0};
        poll(&watched, 1, static_cast<int>(most.count()));
    }

    // Connecting a datagram socket looks the route up and sends nothing.
    int RefusalOf(const SockAddrIn& destination) override {
        if (probe_ < 0) {
            probe_ = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
            if (probe_ < 0) {
                return 0;  // cannot tell: the hand-over reports a failure if there is one
            }
        }
        int broadcast = 0;
        socklen_t length = sizeof broadcast;
        ::getsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &broadcast, &length);
        ::setsockopt(probe_, SOL_SOCKET, SO_BROADCAST, &broadcast, sizeof broadcast);
        const sockaddr_in posix = ToPosix(destination);
        const int refusal =
            connect(probe_, reinterpret_cast<const sockaddr*>(&posix), sizeof posix) == 0 ? 0
                                                                                          : errno;
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

    void ReportLateFailure(const SockAddrIn& destination, int errorNumber) override {
        char address[16] = {};
        inet_ntop(kAfInet, &destination.sin_addr, address, sizeof address);
        char line[96];
        std::snprintf(line, sizeof line, "Queued sendto %s failed with error: %d\n", address,
                      detail::WsaErrorFromErrno(errorNumber));
        OutputDebugStringA(line);
    }

  private:
    int fd_;
    int probe_ = -1;
};

// The send queues of the sockets that have sent, by descriptor. A socket's queue goes when the
// socket is closed; whatever still waits at the end of the program is handed over first.
class SendQueues {
  public:
    static SendQueues& Instance() {
        // Never destroyed: the end of the program empties it before anything else goes.
        static auto* queues = new SendQueues();
        return *queues;
    }

    // 0, or the errno value of a send that failed at once.
    int Send(int fd, std::span<const char> bytes, const SockAddrIn& destination) {
        std::shared_ptr<Socket> socket;
        {
            std::lock_guard lock(mutex_);
            if (programEnding_) {
                // No thread may start now to hand a datagram over later: it goes now or fails.
                PosixDatagramKernel kernel(fd);
                const int result = kernel.SendNow(bytes, destination);
                return result == DatagramKernel::kNoRoom ? ENOBUFS : result;
            }
            std::shared_ptr<Socket>& entry = sockets_[fd];
            if (!entry) {
                entry = std::make_shared<Socket>(fd);
            }
            if (entry->closing) {
                return EBADF;  // a send racing the close must not start a queue of its own
            }
            socket = entry;
        }
        return socket->queue.Send(bytes, destination);
    }

    // Hands over what the socket's queue holds, within the bound, then closes the descriptor;
    // the errno value of a failed close, or 0.
    int Close(int fd) {
        std::shared_ptr<Socket> socket;
        {
            std::lock_guard lock(mutex_);
            const auto found = sockets_.find(fd);
            if (found != sockets_.end()) {
                socket = found->second;
                socket->closing = true;
            }
        }
        if (socket) {
            Finish(*socket, Clock::now() + kQueuedSendsBound, "the socket was closed");
        }
        // Under the lock: a socket that gets this descriptor number next finds no entry.
        std::lock_guard lock(mutex_);
        if (socket) {
            sockets_.erase(fd);
        }
        return close(fd) == 0 ? 0 : errno;
    }

    std::size_t Waiting(int fd) {
        std::lock_guard lock(mutex_);
        const auto found = sockets_.find(fd);
        return found == sockets_.end() ? 0 : found->second->queue.Waiting();
    }

  private:
    using Clock = detail::OrderedSendQueue::Clock;
    using DatagramKernel = detail::DatagramKernel;

    struct Socket {
        explicit Socket(int fd) : kernel(fd) {}
        PosixDatagramKernel kernel;
        detail::OrderedSendQueue queue{kernel};
        bool closing = false;  // guarded by SendQueues::mutex_
    };

    SendQueues() : process_(getpid()) {
        // Everything the queues' threads use exists before this handler is registered, so it
        // is still there when the handler runs.
        OutputDebugStringA("");
        std::atexit([] { Instance().FinishAll(); });
    }

    static void Finish(Socket& socket, Clock::time_point deadline, const char* why) {
        const std::size_t left = socket.queue.Stop(deadline);
        if (left > 0) {
            char line[96];
            std::snprintf(line, sizeof line, "%zu queued datagrams not sent: %s\n", left, why);
            OutputDebugStringA(line);
        }
    }

    // The end of the program: one bound for all sockets together.
    void FinishAll() {
        if (getpid() != process_) {
            return;  // a forked child that exits: the queues and their threads are the parent's
        }
        std::map<int, std::shared_ptr<Socket>> all;
        {
            std::lock_guard lock(mutex_);
            programEnding_ = true;
            all.swap(sockets_);
        }
        const auto deadline = Clock::now() + kQueuedSendsBound;
        for (auto& [fd, socket] : all) {
            Finish(*socket, deadline, "the program ended");
        }
    }

    const pid_t process_;
    std::mutex mutex_;
    std::map<int, std::shared_ptr<Socket>> sockets_;
    bool programEnding_ = false;
};

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
        switch (option) {
            case kSoBroadcast: {
                int on;
                if (!ReadSwitch(value, length, on)) {
                    return Fail(WSAEFAULT);
                }
                if (::setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0) {
                    return FailFromErrno();
                }
                return 0;
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
                return option == kSoSndBuf ? SetBufferSize(fd, SO_SNDBUFFORCE, SO_SNDBUF, size)
                                           : SetBufferSize(fd, SO_RCVBUFFORCE, SO_RCVBUF, size);
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
        const sockaddr_in posix = ToPosix(*address);
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&posix), sizeof posix) != 0) {
            return FailFromErrno();
        }
        return 0;
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
        const int result = SendQueues::Instance().Send(
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
            pollfd watched[2] = {{fd, POLLIN, 0}, {wakeFd, POLLIN, 0}};
            const nfds_t watchedCount = wakeFd >= 0 ? 2 : 1;
            const int ready =
                poll(watched, watchedCount, wakeFd >= 0 ? -1 : kFallbackPollMilliseconds);
            if (ready < 0 && errno != EINTR) {
                return FailFromErrno();
            }
            if (ready <= 0) {
                continue;
            }
            if ((watched[0].revents & POLLNVAL) != 0) {
                return Fail(WSAENOTSOCK);
            }
            if (watched[0].revents == 0) {
                continue;  // only the wake-up: the loop's first test returns
            }
            const int result = ReceiveReady(fd, buffer, length, flags, from, fromLength);
            if (result != kNothingYet) {
                return result;
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
        int queued = 0;
        if (ioctl(fd, FIONREAD, &queued) != 0) {
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
        if (const int error = SendQueues::Instance().Close(fd); error != 0) {
            return Fail(detail::WsaErrorFromErrno(error));
        }
        return 0;
    }

    int WSAGetLastError() override { return lastError; }

  private:
    static constexpr int kNothingYet = -2;

    // Takes the datagram that poll announced, without blocking: another receiver may have
    // taken it first. A datagram longer than the buffer fills the buffer and is reported as
    // too long, its rest discarded.
    static int ReceiveReady(int fd, char* buffer, int length, int flags, SockAddrIn* from,
                            int* fromLength) {
        sockaddr_in source{};
        iovec part{buffer, static_cast<std::size_t>(length)};
        msghdr message{};
        message.msg_name = &source;
        message.msg_namelen = sizeof source;
        message.msg_iov = &part;
        message.msg_iovlen = 1;
        const ssize_t received = recvmsg(fd, &message, flags | MSG_DONTWAIT);
        if (received < 0) {
            if (errno == EAGAIN || errno == EINTR) {
                return kNothingYet;
            }
            return FailFromErrno();
        }
        if (from != nullptr) {
            *from = FromPosix(source);
            *fromLength = kAddressLength;
        }
        if ((message.msg_flags & MSG_TRUNC) != 0) {
            return Fail(WSAEMSGSIZE);
        }
        return static_cast<int>(received);
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
    return ToDescriptor(s, fd) ? SendQueues::Instance().Waiting(fd) : 0;
}

}  // namespace testing

}  // namespace plat
