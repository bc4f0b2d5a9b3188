// Scripted adapter lists.
#include "platform/testing/fakes.h"

namespace plat::testing {

FakeAdapters::FakeAdapters() {
    SetAdapterService(this);
}

FakeAdapters::~FakeAdapters() {
    SetAdapterService(nullptr);
}

void FakeAdapters::AddAdapter(const std::string& name, ULONG ifType,
                              const std::u16string& friendlyName,
                              const std::vector<std::string>& addresses, const char* mask) {
    std::lock_guard lock(mutex_);
    AdapterAddresses adapter{name, ifType, friendlyName, {}};
    for (const std::string& address : addresses) {
        adapter.unicast.push_back({kAfInet, Ip(address.c_str())});
    }
    addresses_.push_back(std::move(adapter));
    if (mask != nullptr) {
        info_.push_back({name, mask});
    }
}

void FakeAdapters::AddForeignAddress(int family) {
    std::lock_guard lock(mutex_);
    if (!addresses_.empty()) {
        addresses_.back().unicast.push_back({family, 0});
    }
}

void FakeAdapters::SetAddressesError(ULONG code) {
    std::lock_guard lock(mutex_);
    addressesError_ = code;
}

void FakeAdapters::SetInfoError(ULONG code) {
    std::lock_guard lock(mutex_);
    infoError_ = code;
}

int FakeAdapters::AddressesCalls() const {
    std::lock_guard lock(mutex_);
    return addressesCalls_;
}

int FakeAdapters::InfoCalls() const {
    std::lock_guard lock(mutex_);
    return infoCalls_;
}

ULONG FakeAdapters::GetAdaptersAddresses(ULONG /*family*/, ULONG /*flags*/,
                                         std::vector<AdapterAddresses>& out) {
    std::lock_guard lock(mutex_);
    ++addressesCalls_;
    if (addressesError_ != 0) {
        return addressesError_;
    }
    out = addresses_;
    return 0;
}

ULONG FakeAdapters::GetAdaptersInfo(std::vector<AdapterInfo>& out) {
    std::lock_guard lock(mutex_);
    ++infoCalls_;
    if (infoError_ != 0) {
        return infoError_;
    }
    out = info_;
    return 0;
}

}  // namespace plat::testing
