// The tool's one UDP socket: broadcast enabled, bound to 0.0.0.0 on a port the system chooses.
#pragma once

#include "platform/sockets.h"

namespace net {

// Send and receive buffers asked for at set-up. A whole sweep (254 datagrams per address, each
// to a host that may be absent and hold its buffer space for seconds) must fit without the
// blocking send waiting, and replies of many devices must queue while the worker is busy.
constexpr int kSocketBufferBytes = 8 * 1024 * 1024;

// Opens the socket into `sock`. On failure logs the reason on standard output, closes the
// socket, balances its own start-up of the socket library, leaves `sock` at INVALID_SOCKET and
// returns false. On success logs "Local port: %d\n" on the debugger output.
bool SetUpUdpEndpoint(plat::SOCKET& sock);

}  // namespace net
