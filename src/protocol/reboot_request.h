// The reboot request: the credentials and the ID of the device to restart.
// Layout: reboot_request:: in wire_layout.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "protocol/credentials.h"
#include "protocol/device_info.h"

namespace protocol {

// The device ID field holds at most 31 bytes of text and its terminating zero. The handler
// refuses a typed ID that does not pass FitsInField(WideToAnsi(id), kDeviceIdFieldSize).
constexpr std::size_t kDeviceIdFieldSize = reboot_request::kDeviceId.size;

// The device ID of a selected record: its serial's raw bytes up to its NUL, unconverted ("" for
// an empty serial). nullopt when the 32 serial bytes hold no NUL: the handler refuses that.
std::optional<std::string> RebootDeviceId(const DeviceInfo& info);

// 108 bytes: header with CMD_REBOOT and payload length 72, the credentials at 36 and 56, the
// device ID (8-bit bytes) at 76. Every text is cut to its field and keeps its terminating zero.
std::vector<std::uint8_t> BuildRebootRequest(std::uint32_t sessionId,
                                             const Credentials& credentials,
                                             std::string_view deviceId);

}  // namespace protocol
