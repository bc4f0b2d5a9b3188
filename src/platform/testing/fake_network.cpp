// A network with no wire: scripted receives, recorded sends and calls, failures on demand.
#include <algorithm>
#include <cstdio>

#include "platform/kernel.h"
#include "platform/testing/fakes.h"

namespace plat::testing {

namespace {

constexpr int kAddressLength = static_cast<int>(sizeof(SockAddrIn));

thread_local int fakeLastError = 0;

std::string DottedText(std::uint32_t address) {
    char text[16];
    return inet_ntop(kAfInet, &address, text, sizeof text);
}

std::string HexBytes(const char* value, int length) {
    std::string hex;
    for (int i = 0; i < length; ++i) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", static_cast<unsigned char>(value[i]));
        hex += pair;
    }
    return hex;
}

}  // namespace

std::uint32_t Ip(const char* dotted) {
    return inet_addr(dotted);
}

std::string FakeNetwork::Sent::AddressText() const {
    return DottedText(address);
}

FakeNetwork::FakeNetwork() {
    SetSocketService(this);
}

FakeNetwork::~FakeNetwork() {
    SetSocketService(nullptr);
}

void FakeNetwork::QueueDatagram(std::vector<std::uint8_t> bytes, std::uint32_t from,
                                std::uint16_t fromPort) {
    std::lock_guard lock(mutex_);
    incoming_.push_back({std::move(bytes), from, fromPort, 0});
    changed_.notify_all();
}

void FakeNetwork::QueueReceiveError(int code) {
    std::lock_guard lock(mutex_);
    incoming_.push_back({{}, 0, 0, code});
    changed_.notify_all();
}

bool FakeNetwork::WaitUntilReceiverIdle(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout,
                             [&] { return incoming_.empty() && blockedReceivers_ > 0; });
}

int FakeNetwork::BlockedReceivers() const {
    std::lock_guard lock(mutex_);
    return blockedReceivers_;
}

void FakeNetwork::FailStartup(int code) {
    std::lock_guard lock(mutex_);
    startupError_ = code;
}

void FakeNetwork::FailSocketCreation(int code) {
    std::lock_guard lock(mutex_);
    socketError_ = code;
}

void FakeNetwork::FailBind(int code) {
    std::lock_guard lock(mutex_);
    bindError_ = code;
}

void FakeNetwork::FailGetSockName(int code) {
    std::lock_guard lock(mutex_);
    getSockNameError_ = code;
}

void FakeNetwork::FailOption(int option, int code) {
    std::lock_guard lock(mutex_);
    if (code == 0) {
        failOption_.erase(option);
    } else {
        failOption_[option] = code;
    }
}

void FakeNetwork::FailSendNumber(int nth, int code) {
    std::lock_guard lock(mutex_);
    failSendCountdown_ = nth > 0 ? nth : 0;
    failSendCode_ = code;
}

void FakeNetwork::FailSendsTo(std::uint32_t address, int code) {
    std::lock_guard lock(mutex_);
    if (code == 0) {
        failAddress_.erase(address);
    } else {
        failAddress_[address] = code;
    }
}

void FakeNetwork::SetBoundPort(std::uint16_t port) {
    std::lock_guard lock(mutex_);
    boundPort_ = port;
}

std::vector<FakeNetwork::Sent> FakeNetwork::SentDatagrams() const {
    std::lock_guard lock(mutex_);
    return sent_;
}

std::size_t FakeNetwork::SentCount() const {
    std::lock_guard lock(mutex_);
    return sent_.size();
}

void FakeNetwork::ClearSent() {
    std::lock_guard lock(mutex_);
    sent_.clear();
}

std::vector<std::string> FakeNetwork::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

int FakeNetwork::OpenSockets() const {
    std::lock_guard lock(mutex_);
    return static_cast<int>(sockets_.size());
}

void FakeNetwork::SetLastError(int code) {
    fakeLastError = code;
}

int FakeNetwork::WSAGetLastError() {
    return fakeLastError;
}

int FakeNetwork::WSAStartup(WORD version, WSAData* data) {
    std::lock_guard lock(mutex_);
    char line[32];
    std::snprintf(line, sizeof line, "WSAStartup 0x%04x", version);
    calls_.push_back(line);
    if (startupError_ != 0) {
        return startupError_;
    }
    if (data != nullptr) {
        data->wVersion = version;
        data->wHighVersion = 0x0202;
    }
    return 0;
}

int FakeNetwork::WSACleanup() {
    std::lock_guard lock(mutex_);
    calls_.push_back("WSACleanup");
    return 0;
}

SOCKET FakeNetwork::WSASocketW(int af, int type, int protocol, void* /*protocolInfo*/,
                               unsigned /*group*/, DWORD flags) {
    std::lock_guard lock(mutex_);
    char line[64];
    std::snprintf(line, sizeof line, "WSASocketW %d %d %d flags=0x%x", af, type, protocol,
                  static_cast<unsigned>(flags));
    calls_.push_back(line);
    if (socketError_ != 0) {
        SetLastError(socketError_);
        return INVALID_SOCKET;
    }
    const SOCKET socket = nextSocket_++;
    sockets_[socket] = false;
    return socket;
}

int FakeNetwork::setsockopt(SOCKET s, int level, int option, const char* value, int length) {
    std::lock_guard lock(mutex_);
    char line[64];
    std::snprintf(line, sizeof line, "setsockopt %d %d len=%d value=", level, option, length);
    calls_.push_back(line + (value != nullptr && length > 0 ? HexBytes(value, length) : ""));
    if (sockets_.count(s) == 0) {
        SetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    if (value == nullptr || length < 1) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    const auto refused = failOption_.find(option);
    if (refused != failOption_.end()) {
        SetLastError(refused->second);
        return SOCKET_ERROR;
    }
    return 0;
}

int FakeNetwork::bind(SOCKET s, const SockAddrIn* address, int length) {
    std::lock_guard lock(mutex_);
    std::string where = "null";
    if (address != nullptr) {
        where = DottedText(address->sin_addr.s_addr) + ":" +
                std::to_string(NetToHost16(address->sin_port));
    }
    calls_.push_back("bind " + where + " len=" + std::to_string(length));
    const auto socket = sockets_.find(s);
    if (socket == sockets_.end()) {
        SetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    if (bindError_ != 0) {
        SetLastError(bindError_);
        return SOCKET_ERROR;
    }
    if (address == nullptr || length < kAddressLength) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    if (socket->second) {
        SetLastError(WSAEINVAL);
        return SOCKET_ERROR;
    }
    socket->second = true;
    return 0;
}

int FakeNetwork::getsockname(SOCKET s, SockAddrIn* address, int* length) {
    std::lock_guard lock(mutex_);
    calls_.push_back("getsockname len=" + (length != nullptr ? std::to_string(*length) : "null"));
    const auto socket = sockets_.find(s);
    if (socket == sockets_.end()) {
        SetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    if (getSockNameError_ != 0) {
        SetLastError(getSockNameError_);
        return SOCKET_ERROR;
    }
    if (address == nullptr || length == nullptr || *length < kAddressLength) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    if (!socket->second) {
        SetLastError(WSAEINVAL);  // an unbound socket has no name
        return SOCKET_ERROR;
    }
    *address = SockAddrIn{};
    address->sin_family = static_cast<std::int16_t>(kAfInet);
    address->sin_port = HostToNet16(boundPort_);
    address->sin_addr.s_addr = kInaddrAny;
    *length = kAddressLength;
    return 0;
}

int FakeNetwork::sendto(SOCKET s, const char* data, int length, int /*flags*/,
                        const SockAddrIn* destination, int destinationLength) {
    std::lock_guard lock(mutex_);
    if (sockets_.count(s) == 0) {
        SetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    if (length < 0 || (data == nullptr && length > 0) || destination == nullptr ||
        destinationLength < kAddressLength) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    if (failSendCountdown_ > 0 && --failSendCountdown_ == 0) {
        SetLastError(failSendCode_);
        return SOCKET_ERROR;
    }
    const std::uint32_t address = destination->sin_addr.s_addr;
    const auto refused = failAddress_.find(address);
    if (refused != failAddress_.end()) {
        SetLastError(refused->second);
        return SOCKET_ERROR;
    }
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    sent_.push_back({s, address, NetToHost16(destination->sin_port),
                     std::vector<std::uint8_t>(bytes, bytes + length)});
    return length;
}

int FakeNetwork::recvfrom(SOCKET s, char* buffer, int length, int flags, SockAddrIn* from,
                          int* fromLength) {
    // Registered before the lock is taken: the wake-up takes it.
    InterruptibleWait interruption([this] {
        std::lock_guard lock(mutex_);
        changed_.notify_all();
    });
    std::unique_lock lock(mutex_);
    if (sockets_.count(s) == 0) {
        SetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    if (length < 0 || (buffer == nullptr && length > 0) ||
        (from != nullptr && (fromLength == nullptr || *fromLength < kAddressLength))) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    ++blockedReceivers_;
    changed_.notify_all();
    changed_.wait(lock, [&] {
        return !incoming_.empty() || CurrentThreadEnding() || sockets_.count(s) == 0;
    });
    --blockedReceivers_;
    if (CurrentThreadEnding() || sockets_.count(s) == 0) {
        SetLastError(WSAEINTR);
        return SOCKET_ERROR;
    }
    Incoming next = incoming_.front();
    if ((flags & kMsgPeek) == 0 || next.error != 0) {
        incoming_.pop_front();
    }
    changed_.notify_all();
    if (next.error != 0) {
        SetLastError(next.error);
        return SOCKET_ERROR;
    }
    const std::size_t copied = std::min(next.bytes.size(), static_cast<std::size_t>(length));
    std::copy_n(next.bytes.begin(), copied, buffer);
    if (from != nullptr) {
        *from = SockAddrIn{};
        from->sin_family = static_cast<std::int16_t>(kAfInet);
        from->sin_port = HostToNet16(next.fromPort);
        from->sin_addr.s_addr = next.from;
        *fromLength = kAddressLength;
    }
    if (next.bytes.size() > copied) {
        // As a datagram socket does: the buffer is filled, the rest is lost.
        SetLastError(WSAEMSGSIZE);
        return SOCKET_ERROR;
    }
    return static_cast<int>(copied);
}

int FakeNetwork::ioctlsocket(SOCKET s, long command, unsigned long* argument) {
    std::lock_guard lock(mutex_);
    if (sockets_.count(s) == 0) {
        SetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    if (command != kFionread) {
        SetLastError(WSAEINVAL);
        return SOCKET_ERROR;
    }
    if (argument == nullptr) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    *argument = incoming_.empty() || incoming_.front().error != 0
                    ? 0
                    : static_cast<unsigned long>(incoming_.front().bytes.size());
    return 0;
}

int FakeNetwork::closesocket(SOCKET s) {
    std::lock_guard lock(mutex_);
    calls_.push_back("closesocket");
    if (sockets_.erase(s) == 0) {
        SetLastError(WSAENOTSOCK);
        return SOCKET_ERROR;
    }
    changed_.notify_all();
    return 0;
}

}  // namespace plat::testing
