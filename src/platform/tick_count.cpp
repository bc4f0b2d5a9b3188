// The millisecond tick count, which tests may fix.
#include <time.h>

#include <atomic>

#include "platform/kernel.h"

namespace plat {

namespace {

std::atomic<bool> tickCountFixed{false};
std::atomic<DWORD> fixedTickCount{0};

}  // namespace

DWORD GetTickCount() {
    if (tickCountFixed.load()) {
        return fixedTickCount.load();
    }
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    const auto milliseconds = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                              static_cast<std::uint64_t>(now.tv_nsec) / 1000000u;
    return static_cast<DWORD>(milliseconds);  // wraps at 32 bits, as the caller expects
}

namespace testing {

void SetTickCount(DWORD value) {
    fixedTickCount.store(value);
    tickCountFixed.store(true);
}

void ResetTickCount() {
    tickCountFixed.store(false);
}

}  // namespace testing

}  // namespace plat
