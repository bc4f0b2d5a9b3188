// ShellExecuteW hands the URL to whichever shell service is installed.
#include "platform/shell.h"

#include <atomic>

namespace plat {

namespace {

// What a request that was handed on returns; callers only compare it with 32.
constexpr std::intptr_t kHandedOn = 42;
constexpr std::intptr_t kFileNotFound = 2;

std::atomic<ShellService*> installed{nullptr};

ShellService& CurrentShellService() {
    ShellService* service = installed.load();
    return service != nullptr ? *service : RealShellService();
}

}  // namespace

void SetShellService(ShellService* service) {
    installed.store(service);
}

std::intptr_t ShellExecuteW(void* /*window*/, const char16_t* /*verb*/, const char16_t* file,
                            const char16_t* /*parameters*/, const char16_t* /*directory*/,
                            int /*show*/) {
    if (file == nullptr || *file == u'\0') {
        return kFileNotFound;
    }
    CurrentShellService().Open(file);
    return kHandedOn;
}

}  // namespace plat
