// Which simulated devices a datagram reached, from where it was addressed and where it arrived.
#pragma once

#include <cstdint>
#include <vector>

#include "device.h"

namespace devsim {

struct PlacedDevice {
    DeviceConfig config;
    int ifindex = 0;  // interface that carries the device's address; 0 when none does
};

constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;
constexpr std::uint32_t kHostMask = 0xFFu;  // devices sit on /24 networks

// Unicast: the device with that address. Directed broadcast of a /24: every device on it.
// Limited broadcast: every device whose address is on the interface it came in on.
std::vector<const PlacedDevice*> Recipients(const std::vector<PlacedDevice>& devices,
                                            std::uint32_t destination, int arrivalIfindex);

}  // namespace devsim
