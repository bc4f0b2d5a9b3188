// errno values as the socket library's last-error codes.
#pragma once

namespace plat::detail {

// The codes the tool may meet get their socket-library names; anything else is 10000 + errno,
// which keeps the number recognisable in a log line.
int WsaErrorFromErrno(int errorNumber);

}  // namespace plat::detail
