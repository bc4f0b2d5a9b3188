// The list of network adapters with their IPv4 addresses, and each adapter's subnet mask.
//
// Two look-ups, as the sender needs them: the address list (name, type, friendly name, unicast
// addresses in a stable order) and the information list (name and the mask text of the
// adapter's first IPv4 address). Each call reads the system anew and owns its result.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/types.h"

namespace plat {

constexpr ULONG kIfTypeEthernet = 6;
constexpr ULONG kIfTypeSoftwareLoopback = 24;
constexpr ULONG kGaaFlagIncludePrefix = 0x10;
constexpr ULONG kErrorNoData = 232;
constexpr ULONG kErrorNotEnoughMemory = 8;

struct UnicastAddress {
    int family;             // kAfInet for IPv4
    std::uint32_t address;  // network byte order; meaningful for kAfInet only
};

struct AdapterAddresses {
    std::string AdapterName;      // keys the mask look-up
    ULONG IfType;                 // kIfTypeSoftwareLoopback for the loop-back adapter
    std::u16string FriendlyName;  // for the log
    std::vector<UnicastAddress> unicast;
};

struct AdapterInfo {
    std::string AdapterName;
    std::string firstIpMask;  // dotted text, e.g. "255.255.255.0"
};

class AdapterService {
  public:
    virtual ~AdapterService() = default;
    // 0 and the list in `out`, or an error code (out untouched).
    virtual ULONG GetAdaptersAddresses(ULONG family, ULONG flags,
                                       std::vector<AdapterAddresses>& out) = 0;
    virtual ULONG GetAdaptersInfo(std::vector<AdapterInfo>& out) = 0;
};

// From getifaddrs: adapters in the order of their first address, addresses grouped by
// interface (alias labels such as eth0:1 belong to eth0), adapters that are down included;
// every address of an adapter gets the mask of its first IPv4 address.
AdapterService& RealAdapterService();
void SetAdapterService(AdapterService* service);  // null restores the real one
AdapterService& CurrentAdapterService();

ULONG GetAdaptersAddresses(ULONG family, ULONG flags, std::vector<AdapterAddresses>& out);
ULONG GetAdaptersInfo(std::vector<AdapterInfo>& out);

}  // namespace plat
