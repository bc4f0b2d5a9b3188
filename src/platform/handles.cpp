// The handle table and the closing of handles.
#include <unordered_set>

#include "platform/detail/kernel_objects.h"

namespace plat::detail {

namespace {

// Never destroyed: threads that outlive main may still close or wait at exit.
std::unordered_set<KernelObject*>& Handles() {
    static auto* handles = new std::unordered_set<KernelObject*>();
    return *handles;
}

}  // namespace

std::mutex& KernelMutex() {
    static auto* mutex = new std::mutex();
    return *mutex;
}

std::condition_variable& KernelChanged() {
    static auto* changed = new std::condition_variable();
    return *changed;
}

void AddHandle(KernelObject* object) {
    Handles().insert(object);
}

bool RemoveHandle(KernelObject* object) {
    return Handles().erase(object) == 1;
}

bool IsLive(HANDLE handle) {
    return handle != nullptr && Handles().count(handle) == 1;
}

EventObject* LiveEvent(HANDLE handle) {
    if (!IsLive(handle) || handle->kind != KernelObject::Kind::Event) {
        return nullptr;
    }
    return static_cast<EventObject*>(handle);
}

ThreadObject* LiveThread(HANDLE handle) {
    if (!IsLive(handle) || handle->kind != KernelObject::Kind::Thread) {
        return nullptr;
    }
    return static_cast<ThreadObject*>(handle);
}

}  // namespace plat::detail

namespace plat {

BOOL CloseHandle(HANDLE object) {
    std::lock_guard lock(detail::KernelMutex());
    if (!detail::RemoveHandle(object)) {
        return FALSE;
    }
    // A thread's control block stays with the thread while it runs.
    delete object;
    return TRUE;
}

}  // namespace plat
