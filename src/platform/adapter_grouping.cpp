#include "platform/detail/adapter_grouping.h"

#include <algorithm>

#include "platform/codepage.h"
#include "platform/sockets.h"

namespace plat::detail {

namespace {

std::string InterfaceName(const std::string& label) {
    return label.substr(0, label.find(':'));
}

}  // namespace

std::vector<Adapter> GroupByInterface(const std::vector<InterfaceEntry>& entries) {
    std::vector<Adapter> adapters;
    for (const InterfaceEntry& entry : entries) {
        const std::string name = InterfaceName(entry.label);
        auto adapter = std::find_if(adapters.begin(), adapters.end(),
                                    [&](const Adapter& known) { return known.name == name; });
        if (adapter == adapters.end()) {
            adapters.push_back(Adapter{name, false, {}, false, 0});
            adapter = adapters.end() - 1;
        }
        adapter->loopback = adapter->loopback || entry.loopback;
        if (entry.family == kAfInet) {
            adapter->unicast.push_back({kAfInet, entry.address});
            if (!adapter->hasIpv4) {
                adapter->hasIpv4 = true;
                adapter->firstIpv4Mask = entry.mask;
            }
        } else if (entry.family == kAfInet6) {
            adapter->unicast.push_back({kAfInet6, 0});
        }
    }
    return adapters;
}

std::vector<AdapterAddresses> ToAdapterAddresses(
    const std::vector<Adapter>& adapters, ULONG family,
    const std::function<bool(const std::string&)>& isWireless) {
    std::vector<AdapterAddresses> list;
    for (const Adapter& adapter : adapters) {
        AdapterAddresses entry;
        entry.AdapterName = adapter.name;
        if (adapter.loopback) {
            entry.IfType = kIfTypeSoftwareLoopback;
        } else {
            entry.IfType = isWireless(adapter.name) ? kIfTypeWireless : kIfTypeEthernet;
        }
        entry.FriendlyName = Utf8ToWide(adapter.name);
        for (const UnicastAddress& address : adapter.unicast) {
            if (family == 0 || static_cast<ULONG>(address.family) == family) {
                entry.unicast.push_back(address);
            }
        }
        list.push_back(std::move(entry));
    }
    return list;
}

std::vector<AdapterInfo> ToAdapterInfo(const std::vector<Adapter>& adapters) {
    std::vector<AdapterInfo> list;
    for (const Adapter& adapter : adapters) {
        if (!adapter.hasIpv4) {
            continue;
        }
        char maskText[16];
        const std::uint32_t mask = adapter.firstIpv4Mask;
        inet_ntop(kAfInet, &mask, maskText, sizeof maskText);
        list.push_back({adapter.name, maskText});
    }
    return list;
}

}  // namespace plat::detail
