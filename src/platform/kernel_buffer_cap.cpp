#include "platform/detail/kernel_buffer_cap.h"

#include <atomic>
#include <climits>
#include <cstdlib>

#include "platform/sockets.h"

namespace plat {

namespace {

constexpr const char* kCapVariable = "QUORVEL_SOCKET_BUFFER_CAP";
constexpr int kNotSet = -1;

// Set by a test: it takes the place of the environment's value.
std::atomic<int> cap{kNotSet};

// A value that is no positive number of bytes sets no cap.
int CapFromEnvironment() {
    const char* text = std::getenv(kCapVariable);
    if (text == nullptr || *text == '\0') {
        return 0;
    }
    char* end = nullptr;
    const long bytes = std::strtol(text, &end, 10);
    return *end == '\0' && bytes > 0 && bytes <= INT_MAX ? static_cast<int>(bytes) : 0;
}

}  // namespace

namespace detail {

// Read each time: a benchmark sets the variable for one socket and not for the next. Buffers are
// asked for only while a socket is set up.
int KernelBufferCap() {
    const int bytes = cap.load();
    return bytes == kNotSet ? CapFromEnvironment() : bytes;
}

}  // namespace detail

namespace testing {

void CapKernelSocketBuffers(int bytes) {
    cap.store(bytes > 0 ? bytes : kNotSet);
}

}  // namespace testing

}  // namespace plat
