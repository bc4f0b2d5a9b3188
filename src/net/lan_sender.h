// Puts one datagram on UDP port 5050 of every address where a device may listen: each host
// .1 to .254 of the /24 of every local IPv4 address, then per address its directed broadcast
// and the limited broadcast. Every destination and every send is logged.
#pragma once

#include "platform/sockets.h"

namespace net {

constexpr unsigned short kDevicePort = 5050;

// The sweep, then the broadcasts. 0 when the destinations were walked (whatever became of
// single sends), -1 when the adapter list could not be read or `socket` is INVALID_SOCKET.
int SendToAllAdapters(plat::SOCKET socket, const char* data, int length);

// The /24 sweep alone; same results.
int SendToSubnetHosts(plat::SOCKET socket, const char* data, int length);

// The mask of the adapter's first IPv4 address, network byte order; 0 when unknown.
plat::ULONG GetAdapterMask(const char* adapterName);

}  // namespace net
