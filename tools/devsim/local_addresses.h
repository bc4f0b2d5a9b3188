// The simulator's view of the interfaces of the network namespace it runs in.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace devsim {

struct LocalAddress {
    std::uint32_t address;  // host order
    int ifindex;
};

// Every IPv4 address of every interface into `out`; false when the list cannot be read.
bool LocalIpv4Addresses(std::vector<LocalAddress>& out);

// Only loop-back and the two test networks (198.51.100.0/24, 203.0.113.0/24) may be present:
// a simulator that answers searches must never sit on a real network. Returns the first
// address that breaks the rule, or an empty string.
std::string ForeignAddress(const std::vector<LocalAddress>& addresses);

}  // namespace devsim
