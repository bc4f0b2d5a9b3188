// The device information block and the interface entry, kept as the raw bytes the device sent
// (a modify request echoes them), with bounded readers. Layouts: device_info:: and nic_entry::
// in wire_layout.h. Texts are read up to their first NUL and never beyond their field.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string>

#include "protocol/wire_layout.h"

namespace protocol {

// One interface of a device (88 bytes).
struct NicEntry {
    std::array<std::uint8_t, nic_entry::kSize> bytes{};

    std::string Name() const;     // code page 936
    std::string Ip() const;       // dotted IPv4 text
    std::string Mask() const;     // dotted IPv4 text
    std::string Gateway() const;  // dotted IPv4 text
    // Bytes 80..83, never interpreted; a modify request sends them back.
    std::array<std::uint8_t, nic_entry::kOpaque.size> OpaqueBytes() const;
    // Bytes 84..87 as a little-endian signed integer, set when greater than zero.
    bool ObtainsAutomatically() const;
};

// The 584-byte block a device describes itself with.
struct DeviceInfo {
    std::array<std::uint8_t, device_info::kSize> bytes{};

    std::string Name() const;  // UTF-8, as sent; show it through Utf8ToAnsi, then AnsiToWide
    std::string Serial() const;
    std::string Type() const;
    std::string ActivationDate() const;
    std::string FirmwareVersion() const;
    std::string SoftwareVersion() const;
    std::string UpgradeDate() const;
    std::string PreferredDns() const;
    std::string AlternateDns() const;
    // The big-endian signed count; zero or negative means no entries follow.
    std::int32_t InterfaceCount() const;
    // False when the 32 serial bytes hold no NUL: such a serial cannot be a reboot device ID.
    bool SerialIsTerminated() const;
    // Bytes 200..535, name through upgrade date, which a modify request echoes byte for byte.
    std::span<const std::uint8_t, device_info::kIdentity.size> IdentityBytes() const;
};

}  // namespace protocol
