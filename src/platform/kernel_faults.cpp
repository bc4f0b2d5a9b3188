// Fault injection for event and thread creation.
#include "platform/detail/kernel_objects.h"

namespace plat {

namespace {

std::atomic<int> eventCreationCountdown{0};
std::atomic<int> threadCreationCountdown{0};

// The call that takes the counter from 1 to 0 fails; 0 means disabled.
bool CountDown(std::atomic<int>& counter) {
    int current = counter.load();
    while (current > 0) {
        if (counter.compare_exchange_weak(current, current - 1)) {
            return current == 1;
        }
    }
    return false;
}

}  // namespace

namespace detail {

bool EventCreationShouldFail() {
    return CountDown(eventCreationCountdown);
}

bool ThreadCreationShouldFail() {
    return CountDown(threadCreationCountdown);
}

}  // namespace detail

namespace testing {

void FailEventCreationAt(int nthCall) {
    eventCreationCountdown.store(nthCall > 0 ? nthCall : 0);
}

void FailThreadCreationAt(int nthCall) {
    threadCreationCountdown.store(nthCall > 0 ? nthCall : 0);
}

void ResetKernelFaults() {
    FailEventCreationAt(0);
    FailThreadCreationAt(0);
    ResetTickCount();
}

}  // namespace testing

}  // namespace plat
