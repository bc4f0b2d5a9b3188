// What each kernel socket may be asked for, so that tests and benchmarks see what an
// unprivileged program on a stock kernel gets.
#pragma once

namespace plat::detail {

// 0: ask for any size, forcing it where the program may (root). Otherwise every buffer size asked
// of a kernel socket is capped at this many bytes and asked for without force, as a stock kernel
// (net.core.rmem_max = wmem_max = 212,992) treats an unprivileged program. Set by
// testing::CapKernelSocketBuffers, or for a whole program by QUORVEL_SOCKET_BUFFER_CAP.
int KernelBufferCap();

}  // namespace plat::detail
