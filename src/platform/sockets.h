// Socket services: the calls the tool makes on its one UDP socket, with the error values and
// last-error codes it relies on (SOCKET_ERROR, INVALID_SOCKET, WSAGetLastError).
//
// Every call goes to the current SocketService; tests install a fake network with
// SetSocketService and the tool's code does not change.
#pragma once

#include <bit>
#include <cstddef>

#include "platform/types.h"

namespace plat {

using SOCKET = std::uintptr_t;
constexpr SOCKET INVALID_SOCKET = ~SOCKET{0};
constexpr int SOCKET_ERROR = -1;

// Values as the tool passes them. Named with a k prefix because the system headers define
// the usual names as macros with other values.
constexpr int kAfInet = 2;
constexpr int kSockDgram = 2;
constexpr int kSolSocket = 0xFFFF;
constexpr int kSoBroadcast = 0x0020;
constexpr int kSoSndBuf = 0x1001;
constexpr int kSoRcvBuf = 0x1002;
constexpr DWORD kWsaFlagOverlapped = 0x01;
constexpr std::uint32_t kInaddrAny = 0;
constexpr long kFionread = 0x4004667F;
constexpr int kMsgPeek = 0x2;  // recvfrom: look at the next datagram, leave it queued

// Last-error codes of the socket library.
constexpr int WSAEINTR = 10004;
constexpr int WSAEBADF = 10009;
constexpr int WSAEACCES = 10013;
constexpr int WSAEFAULT = 10014;
constexpr int WSAEINVAL = 10022;
constexpr int WSAEMFILE = 10024;
constexpr int WSAEWOULDBLOCK = 10035;
constexpr int WSAENOTSOCK = 10038;
constexpr int WSAEMSGSIZE = 10040;
constexpr int WSAENOPROTOOPT = 10042;
constexpr int WSAEAFNOSUPPORT = 10047;
constexpr int WSAEADDRINUSE = 10048;
constexpr int WSAEADDRNOTAVAIL = 10049;
constexpr int WSAENETDOWN = 10050;
constexpr int WSAENETUNREACH = 10051;
constexpr int WSAENOBUFS = 10055;
constexpr int WSAEHOSTUNREACH = 10065;
constexpr int WSASYSNOTREADY = 10091;
constexpr int WSAVERNOTSUPPORTED = 10092;
constexpr int WSANOTINITIALISED = 10093;

// IPv4 address in network byte order.
struct InAddr {
    std::uint32_t s_addr;
};

// IPv4 socket address, 16 bytes as handed to the calls.
struct SockAddrIn {
    std::int16_t sin_family;
    std::uint16_t sin_port;  // network byte order
    InAddr sin_addr;         // network byte order
    char sin_zero[8];
};
static_assert(sizeof(SockAddrIn) == 16);

struct WSAData {
    WORD wVersion;
    WORD wHighVersion;
};

class SocketService {
  public:
    virtual ~SocketService() = default;
    virtual int WSAStartup(WORD version, WSAData* data) = 0;  // 0 on success
    virtual int WSACleanup() = 0;
    virtual SOCKET WSASocketW(int af, int type, int protocol, void* protocolInfo, unsigned group,
                              DWORD flags) = 0;
    virtual int setsockopt(SOCKET s, int level, int option, const char* value, int length) = 0;
    virtual int bind(SOCKET s, const SockAddrIn* address, int length) = 0;
    virtual int getsockname(SOCKET s, SockAddrIn* address, int* length) = 0;
    virtual int sendto(SOCKET s, const char* data, int length, int flags,
                       const SockAddrIn* destination, int destinationLength) = 0;
    // Blocks until a datagram arrives; returns its length, or SOCKET_ERROR. Returns
    // SOCKET_ERROR with WSAEINTR at once when the calling thread is being ended.
    virtual int recvfrom(SOCKET s, char* buffer, int length, int flags, SockAddrIn* from,
                         int* fromLength) = 0;
    // kFionread: bytes of the next queued datagram (0 when none) into *argument.
    virtual int ioctlsocket(SOCKET s, long command, unsigned long* argument) = 0;
    virtual int closesocket(SOCKET s) = 0;
    virtual int WSAGetLastError() = 0;
};

// The real sockets of the operating system.
SocketService& RealSocketService();
// The service the free functions below use. Null restores the real one.
void SetSocketService(SocketService* service);
SocketService& CurrentSocketService();

int WSAStartup(WORD version, WSAData* data);
int WSACleanup();
SOCKET WSASocketW(int af, int type, int protocol, void* protocolInfo, unsigned group, DWORD flags);
// SO_BROADCAST is taken in the one-byte form as well as the int form.
// SO_SNDBUF / SO_RCVBUF ask for at least the given size (as much as the system grants).
int setsockopt(SOCKET s, int level, int option, const char* value, int length);
int bind(SOCKET s, const SockAddrIn* address, int length);
int getsockname(SOCKET s, SockAddrIn* address, int* length);
int sendto(SOCKET s, const char* data, int length, int flags, const SockAddrIn* destination,
           int destinationLength);
int recvfrom(SOCKET s, char* buffer, int length, int flags, SockAddrIn* from, int* fromLength);
int ioctlsocket(SOCKET s, long command, unsigned long* argument);
int closesocket(SOCKET s);
int WSAGetLastError();

// Address text. inet_ntop writes dotted text of an AF_INET address (pointer to the 4 bytes in
// network order) and returns `text`, or null when it does not fit. inet_addr returns the address
// in network order, or 0xFFFFFFFF for text that is not a dotted address. inet_ntoa returns a
// thread-local buffer.
const char* inet_ntop(int af, const void* address, char* text, std::size_t size);
std::uint32_t inet_addr(const char* text);
const char* inet_ntoa(InAddr address);

// Byte order.
constexpr std::uint16_t HostToNet16(std::uint16_t v) {
    if constexpr (std::endian::native == std::endian::big) {
        return v;
    }
    return static_cast<std::uint16_t>((v >> 8) | (v << 8));
}
constexpr std::uint32_t HostToNet32(std::uint32_t v) {
    if constexpr (std::endian::native == std::endian::big) {
        return v;
    }
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}
constexpr std::uint16_t NetToHost16(std::uint16_t v) {
    return HostToNet16(v);
}
constexpr std::uint32_t NetToHost32(std::uint32_t v) {
    return HostToNet32(v);
}

namespace testing {
// Makes WSAStartup of the real service fail with WSASYSNOTREADY (the start-up failure path).
void FailSocketStartup(bool fail);
// How many datagrams sent on a real socket still wait for room in the kernel's send buffer.
std::size_t QueuedDatagrams(SOCKET s);
// Makes the real sockets behave as an unprivileged program's on a stock kernel: every buffer size
// asked of a kernel socket is capped at `bytes` (212,992 there) and never forced. 0 lifts the
// cap (the environment's, if any, holds again). QUORVEL_SOCKET_BUFFER_CAP=BYTES in the
// environment does the same for a whole program.
void CapKernelSocketBuffers(int bytes);
// How many kernel sockets stand behind a real socket: 1, or the size of its group.
std::size_t KernelSockets(SOCKET s);
}  // namespace testing

}  // namespace plat
