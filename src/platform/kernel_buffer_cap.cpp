#include "platform/detail/kernel_buffer_cap.h"

#include <atomic>
#include <climits>
#include <cstdlib>

#include "platform/sockets.h"

namespace plat {

namespace {

constexpr const char* kCapVariable = "QUORVEL_SOCKET_BUFFER_CAP";
constexpr int kNotRead = -1;

std::atomic<int> cap{kNotRead};

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

int KernelBufferCap() {
    int bytes = cap.load();
    if (bytes == kNotRead) {
        int expected = kNotRead;
        cap.compare_exchange_strong(expected, CapFromEnvironment());
        bytes = cap.load();
    }
    return bytes;
}

}  // namespace detail

namespace testing {

void CapKernelSocketBuffers(int bytes) {
    cap.store(bytes > 0 ? bytes : 0);
}

}  // namespace testing

}  // namespace plat
