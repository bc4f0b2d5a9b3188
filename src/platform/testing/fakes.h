// Test doubles for the platform services. Each installs itself on construction and restores the
// real service when destroyed. All are safe to use from several threads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/adapters.h"
#include "platform/shell.h"
#include "platform/sockets.h"

namespace plat::testing {

// Dotted text to a network-order address, for writing tests readably.
std::uint32_t Ip(const char* dotted);

// A network with no wire: records every send, feeds scripted datagrams to receives.
class FakeNetwork : public SocketService {
  public:
    struct Sent {
        SOCKET socket;
        std::uint32_t address;  // network order
        std::uint16_t port;     // host order
        std::vector<std::uint8_t> bytes;
        std::string AddressText() const;
    };

    FakeNetwork();
    ~FakeNetwork() override;

    // Scripted input for recvfrom, in order. A datagram from `from` (network order).
    void QueueDatagram(std::vector<std::uint8_t> bytes, std::uint32_t from,
                       std::uint16_t fromPort = 5050);
    // The next receive fails with SOCKET_ERROR and this code.
    void QueueReceiveError(int code);
    // Blocks until every queued datagram has been taken and a thread waits in recvfrom again
    // (or the time-out passes; returns false then).
    bool WaitUntilReceiverIdle(std::chrono::milliseconds timeout = std::chrono::seconds(5));
    // How many threads are blocked in recvfrom right now.
    int BlockedReceivers() const;

    // Failure injection.
    void FailStartup(int code);              // WSAStartup returns this code
    void FailSocketCreation(int code);       // WSASocketW gives INVALID_SOCKET, last error = code
    void FailBind(int code);                 // bind gives SOCKET_ERROR, last error = code
    void FailGetSockName(int code);          // getsockname gives SOCKET_ERROR, last error = code
    void FailOption(int option, int code);   // setsockopt of this option, likewise (0: clears)
    void FailSendNumber(int nth, int code);  // the nth send from now (1-based) fails
    void FailSendsTo(std::uint32_t address, int code);  // every send to this address fails
    void SetBoundPort(std::uint16_t port);              // what getsockname reports (default 50000)

    // What happened. A send that failed (injected or refused) is not among the datagrams sent.
    std::vector<Sent> SentDatagrams() const;
    std::size_t SentCount() const;
    void ClearSent();
    // Each call as one line, e.g. "WSAStartup 0x0202", "WSASocketW 2 2 0 flags=0x1",
    // "setsockopt 65535 32 len=1 value=01", "bind 0.0.0.0:0 len=16", "getsockname len=16",
    // "closesocket", "WSACleanup"; setsockopt values as lower-case hex bytes in memory order.
    // Sends, receives and ioctlsocket are not listed here.
    std::vector<std::string> Calls() const;
    int OpenSockets() const;

    // SocketService
    int WSAStartup(WORD version, WSAData* data) override;
    int WSACleanup() override;
    SOCKET WSASocketW(int af, int type, int protocol, void* protocolInfo, unsigned group,
                      DWORD flags) override;
    int setsockopt(SOCKET s, int level, int option, const char* value, int length) override;
    int bind(SOCKET s, const SockAddrIn* address, int length) override;
    int getsockname(SOCKET s, SockAddrIn* address, int* length) override;
    int sendto(SOCKET s, const char* data, int length, int flags, const SockAddrIn* destination,
               int destinationLength) override;
    int recvfrom(SOCKET s, char* buffer, int length, int flags, SockAddrIn* from,
                 int* fromLength) override;
    int ioctlsocket(SOCKET s, long command, unsigned long* argument) override;
    int closesocket(SOCKET s) override;
    int WSAGetLastError() override;

  private:
    struct Incoming {
        std::vector<std::uint8_t> bytes;
        std::uint32_t from;
        std::uint16_t fromPort;
        int error;  // non-zero: a failed receive
    };
    void SetLastError(int code);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Incoming> incoming_;
    std::vector<Sent> sent_;
    std::vector<std::string> calls_;
    std::map<SOCKET, bool> sockets_;  // open sockets -> bound
    SOCKET nextSocket_ = 100;
    int blockedReceivers_ = 0;
    int startupError_ = 0;
    int socketError_ = 0;
    int bindError_ = 0;
    int getSockNameError_ = 0;
    int failSendCountdown_ = 0;
    int failSendCode_ = 0;
    std::map<std::uint32_t, int> failAddress_;
    std::map<int, int> failOption_;
    std::uint16_t boundPort_ = 50000;
};

// Scripted adapter lists.
class FakeAdapters : public AdapterService {
  public:
    FakeAdapters();
    ~FakeAdapters() override;

    // Adds an adapter with IPv4 addresses (dotted) and puts it in the information list with
    // `mask` unless `mask` is null.
    void AddAdapter(const std::string& name, ULONG ifType, const std::u16string& friendlyName,
                    const std::vector<std::string>& addresses, const char* mask);
    // Adds a non-IPv4 unicast address (e.g. IPv6, family 23) to the last adapter.
    void AddForeignAddress(int family);
    void SetAddressesError(ULONG code);  // 0: no failure
    void SetInfoError(ULONG code);
    int AddressesCalls() const;
    int InfoCalls() const;

    ULONG GetAdaptersAddresses(ULONG family, ULONG flags,
                               std::vector<AdapterAddresses>& out) override;
    ULONG GetAdaptersInfo(std::vector<AdapterInfo>& out) override;

  private:
    mutable std::mutex mutex_;
    std::vector<AdapterAddresses> addresses_;
    std::vector<AdapterInfo> info_;
    ULONG addressesError_ = 0;
    ULONG infoError_ = 0;
    int addressesCalls_ = 0;
    int infoCalls_ = 0;
};

// Records every URL instead of opening it.
class FakeShell : public ShellService {
  public:
    FakeShell();
    ~FakeShell() override;
    void Open(const std::u16string& url) override;
    std::vector<std::u16string> Opened() const;

  private:
    mutable std::mutex mutex_;
    std::vector<std::u16string> opened_;
};

}  // namespace plat::testing
