// Turns the system's per-address interface list into adapters. Pure, so it can be tested from
// a made-up list.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/adapters.h"

namespace plat::detail {

constexpr int kAfInet6 = 23;  // the family number the adapter list gives IPv6 addresses
constexpr ULONG kIfTypeWireless = 71;

// One entry of the system's list: an interface label (an alias such as "eth0:1" included)
// with at most one address.
struct InterfaceEntry {
    std::string label;
    bool loopback = false;
    int family = 0;             // kAfInet, kAfInet6, or 0 for an entry without an address
    std::uint32_t address = 0;  // network order, kAfInet only
    std::uint32_t mask = 0;     // network order, kAfInet only
};

struct Adapter {
    std::string name;  // the interface name, alias suffix removed
    bool loopback = false;
    std::vector<UnicastAddress> unicast;  // IPv4 and IPv6, in list order
    bool hasIpv4 = false;
    std::uint32_t firstIpv4Mask = 0;  // network order
};

// Adapters in the order their interface first appears; every address under its interface.
std::vector<Adapter> GroupByInterface(const std::vector<InterfaceEntry>& entries);

// The address list for one family (kAfInet, kAfInet6, or 0 for both).
std::vector<AdapterAddresses> ToAdapterAddresses(
    const std::vector<Adapter>& adapters, ULONG family,
    const std::function<bool(const std::string&)>& isWireless);

// One entry per adapter with an IPv4 address, with the mask of the first of them.
std::vector<AdapterInfo> ToAdapterInfo(const std::vector<Adapter>& adapters);

}  // namespace plat::detail
