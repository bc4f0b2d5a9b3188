// The tool's socket address as the kernel's, and back.
#pragma once

#include <netinet/in.h>

#include "platform/sockets.h"

namespace plat::detail {

inline sockaddr_in ToPosix(const SockAddrIn& address) {
    sockaddr_in posix{};
    posix.sin_family = AF_INET;
    posix.sin_port = address.sin_port;
    posix.sin_addr.s_addr = address.sin_addr.s_addr;
    return posix;
}

inline SockAddrIn FromPosix(const sockaddr_in& posix) {
    SockAddrIn address{};
    address.sin_family = static_cast<std::int16_t>(kAfInet);
    address.sin_port = posix.sin_port;
    address.sin_addr.s_addr = posix.sin_addr.s_addr;
    return address;
}

}  // namespace plat::detail
