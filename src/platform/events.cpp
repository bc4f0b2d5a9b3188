// Events: created, set and reset under the kernel lock; every change wakes the waiters.
#include "platform/detail/kernel_objects.h"

namespace plat {

HANDLE CreateEventW(void* /*securityAttributes*/, BOOL manualReset, BOOL initialState,
                    const char16_t* /*name*/) {
    if (detail::EventCreationShouldFail()) {
        return nullptr;
    }
    auto* event = new detail::EventObject(manualReset != FALSE, initialState != FALSE);
    std::lock_guard lock(detail::KernelMutex());
    detail::AddHandle(event);
    return event;
}

namespace {

BOOL SetSignalled(HANDLE handle, bool signalled) {
    std::lock_guard lock(detail::KernelMutex());
    detail::EventObject* event = detail::LiveEvent(handle);
    if (event == nullptr) {
        return FALSE;
    }
    event->signalled = signalled;
    if (signalled) {
        detail::KernelChanged().notify_all();
    }
    return TRUE;
}

}  // namespace

BOOL SetEvent(HANDLE event) {
    return SetSignalled(event, true);
}

BOOL ResetEvent(HANDLE event) {
    return SetSignalled(event, false);
}

}  // namespace plat
