// Every test or benchmark that sends real datagrams asks this first, through the platform's
// real adapter list: it runs only where it sees nothing but loop-back and the private
// network's own veth ends (qv-pc, qv-pc2) with addresses of the two test networks, as
// scripts/netns-run sets them up.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/adapters.h"
#include "platform/sockets.h"

namespace nstest {

constexpr std::uint32_t kTestNet1 = 0xC6336400u;  // 198.51.100.0/24
constexpr std::uint32_t kTestNet2 = 0xCB007100u;  // 203.0.113.0/24

inline bool IsTestNetworkAddress(std::uint32_t hostOrder) {
    const std::uint32_t net = hostOrder & 0xFFFFFF00u;
    return net == kTestNet1 || net == kTestNet2;
}

inline std::string DottedText(std::uint32_t hostOrder) {
    return std::to_string(hostOrder >> 24) + "." + std::to_string((hostOrder >> 16) & 0xFF) + "." +
           std::to_string((hostOrder >> 8) & 0xFF) + "." + std::to_string(hostOrder & 0xFF);
}

// True when it is safe to send; otherwise false with the reason in `why`. Adapters of other
// names may exist (some kernels give every namespace a tunnel device) but must carry no IPv4
// address.
inline bool InsidePrivateTestNetwork(std::string& why) {
    std::vector<plat::AdapterAddresses> adapters;
    const plat::ULONG error =
        plat::GetAdaptersAddresses(plat::kAfInet, plat::kGaaFlagIncludePrefix, adapters);
    if (error != 0) {
        why = "the adapter list cannot be read (error " + std::to_string(error) + ")";
        return false;
    }
    bool sawTestAddress = false;
    for (const auto& adapter : adapters) {
        const bool loopback = adapter.IfType == plat::kIfTypeSoftwareLoopback;
        const bool ownVeth = adapter.AdapterName == "qv-pc" || adapter.AdapterName == "qv-pc2";
        for (const auto& unicast : adapter.unicast) {
            if (unicast.family != plat::kAfInet) {
                continue;
            }
            const std::uint32_t address = plat::NetToHost32(unicast.address);
            const bool allowed =
                loopback ? (address >> 24) == 127 : ownVeth && IsTestNetworkAddress(address);
            if (!allowed) {
                why = "adapter " + adapter.AdapterName + " holds " + DottedText(address);
                return false;
            }
            sawTestAddress = sawTestAddress || ownVeth;
        }
    }
    if (!sawTestAddress) {
        why = "no qv-pc adapter with a test address: not inside scripts/netns-run";
        return false;
    }
    return true;
}

}  // namespace nstest
