// How a device answers one received datagram: the bytes of its reply, built from its config.
#pragma once

#include <cstdint>
#include <optional>

#include "device.h"

namespace devsim {

// The device-information reply (search answer) with this session id.
Bytes DeviceInfoReply(const DeviceConfig& device, std::uint32_t sessionId);

// The reply `device` sends to `request`, or nullopt when it stays quiet: silent devices, short
// or foreign datagrams, requests naming another device, commands it does not know.
std::optional<Bytes> ReplyTo(const DeviceConfig& device, const Bytes& request);

}  // namespace devsim
