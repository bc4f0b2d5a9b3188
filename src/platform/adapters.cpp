// The adapter look-ups go to whichever service is installed.
#include "platform/adapters.h"

#include <atomic>

namespace plat {

namespace {

std::atomic<AdapterService*> installed{nullptr};

}  // namespace

void SetAdapterService(AdapterService* service) {
    installed.store(service);
}

AdapterService& CurrentAdapterService() {
    AdapterService* service = installed.load();
    return service != nullptr ? *service : RealAdapterService();
}

ULONG GetAdaptersAddresses(ULONG family, ULONG flags, std::vector<AdapterAddresses>& out) {
    return CurrentAdapterService().GetAdaptersAddresses(family, flags, out);
}

ULONG GetAdaptersInfo(std::vector<AdapterInfo>& out) {
    return CurrentAdapterService().GetAdaptersInfo(out);
}

}  // namespace plat
