#include "net/udp_endpoint.h"

#include <cstdio>

#include "platform/output.h"

namespace net {
namespace {

constexpr plat::WORD kSocketsVersion = 0x0202;
constexpr std::size_t kPortLineBytes = 100;

bool Fail(plat::SOCKET& sock) {
    plat::closesocket(sock);
    plat::WSACleanup();
    sock = plat::INVALID_SOCKET;
    return false;
}

// Larger buffers are a help, not a requirement: the results are not looked at.
void EnlargeBuffers(plat::SOCKET sock) {
    const int bytes = kSocketBufferBytes;
    plat::setsockopt(sock, plat::kSolSocket, plat::kSoSndBuf, reinterpret_cast<const char*>(&bytes),
                     sizeof bytes);
    plat::setsockopt(sock, plat::kSolSocket, plat::kSoRcvBuf, reinterpret_cast<const char*>(&bytes),
                     sizeof bytes);
}

}  // namespace

bool SetUpUdpEndpoint(plat::SOCKET& sock) {
    plat::WSAData data{};
    plat::WSAStartup(kSocketsVersion, &data);

    sock =
        plat::WSASocketW(plat::kAfInet, plat::kSockDgram, 0, nullptr, 0, plat::kWsaFlagOverlapped);

    const char broadcast = 1;
    plat::setsockopt(sock, plat::kSolSocket, plat::kSoBroadcast, &broadcast, sizeof broadcast);
    EnlargeBuffers(sock);

    plat::SockAddrIn local{};
    local.sin_family = plat::kAfInet;
    local.sin_port = plat::HostToNet16(0);
    local.sin_addr.s_addr = plat::HostToNet32(plat::kInaddrAny);
    if (plat::bind(sock, &local, sizeof local) == plat::SOCKET_ERROR) {
        const int error = plat::WSAGetLastError();
        plat::printf("bind failed: %d \n ", error);
        return Fail(sock);
    }

    plat::SockAddrIn bound{};
    int boundLength = sizeof bound;
    if (plat::getsockname(sock, &bound, &boundLength) == plat::SOCKET_ERROR) {
        const int error = plat::WSAGetLastError();
        plat::printf("getsockname failed:  %d \n ", error);
        return Fail(sock);
    }

    char line[kPortLineBytes] = {};
    std::snprintf(line, sizeof line, "Local port: %d\n", plat::NetToHost16(bound.sin_port));
    plat::OutputDebugStringA(line);
    return true;
}

}  // namespace net
