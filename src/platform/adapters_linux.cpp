// The real adapter list, read from getifaddrs on every call.
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <filesystem>

#include "platform/detail/adapter_grouping.h"
#include "platform/sockets.h"

namespace plat {

namespace {

bool IsWireless(const std::string& name) {
    std::error_code ignored;
    return std::filesystem::exists("/sys/class/net/" + name + "/wireless", ignored);
}

std::uint32_t Ipv4Of(const sockaddr* address) {
    if (address == nullptr || address->sa_family != AF_INET) {
        return 0;
    }
    return reinterpret_cast<const sockaddr_in*>(address)->sin_addr.s_addr;
}

// 0 and the grouped adapters, or the error code of the look-ups.
ULONG ReadAdapters(std::vector<detail::Adapter>& adapters) {
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return errno == ENOMEM ? kErrorNotEnoughMemory : kErrorNoData;
    }
    std::vector<detail::InterfaceEntry> entries;
    for (const ifaddrs* item = list; item != nullptr; item = item->ifa_next) {
        detail::InterfaceEntry entry;
        entry.label = item->ifa_name != nullptr ? item->ifa_name : "";
        entry.loopback = (item->ifa_flags & IFF_LOOPBACK) != 0;
        if (item->ifa_addr != nullptr && item->ifa_addr->sa_family == AF_INET) {
            entry.family = kAfInet;
            entry.address = Ipv4Of(item->ifa_addr);
            entry.mask = Ipv4Of(item->ifa_netmask);
        } else if (item->ifa_addr != nullptr && item->ifa_addr->sa_family == AF_INET6) {
            entry.family = detail::kAfInet6;
        }
        entries.push_back(std::move(entry));
    }
    freeifaddrs(list);
    adapters = detail::GroupByInterface(entries);
    return adapters.empty() ? kErrorNoData : 0;
}

class LinuxAdapterService final : public AdapterService {
  public:
    ULONG GetAdaptersAddresses(ULONG family, ULONG /*flags*/,
                               std::vector<AdapterAddresses>& out) override {
        std::vector<detail::Adapter> adapters;
        const ULONG result = ReadAdapters(adapters);
        if (result == 0) {
            out = detail::ToAdapterAddresses(adapters, family, IsWireless);
        }
        return result;
    }

    ULONG GetAdaptersInfo(std::vector<AdapterInfo>& out) override {
        std::vector<detail::Adapter> adapters;
        ULONG result = ReadAdapters(adapters);
        if (result != 0) {
            return result;
        }
        std::vector<AdapterInfo> info = detail::ToAdapterInfo(adapters);
        if (info.empty()) {
            return kErrorNoData;
        }
        out = std::move(info);
        return 0;
    }
};

}  // namespace

AdapterService& RealAdapterService() {
    static auto* service = new LinuxAdapterService();
    return *service;
}

}  // namespace plat
