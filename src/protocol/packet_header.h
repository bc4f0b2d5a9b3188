// The 36-byte header at the start of every datagram: its magic, the command codes, and the
// header as a value that requests write and the receive step reads. Where each field lies:
// header:: in wire_layout.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "protocol/wire_layout.h"

namespace protocol {

// The magic text; on the wire it is followed by a NUL at offset 14 and a zero at offset 15.
constexpr std::string_view kMagic = "AABBCCDD_KAVRO";
static_assert(kMagic.size() + 1 < header::kMagic.size);

// Request codes are single bits; a reply carries 0xF000 ORed with its request's code.
constexpr std::uint32_t CMD_SEARCH = 1;
constexpr std::uint32_t CMD_MODIFY_NET = 2;
constexpr std::uint32_t CMD_REBOOT = 4;
constexpr std::uint32_t CMD_DEVICE_INFO = 0xF001;
constexpr std::uint32_t CMD_MODIFY_RESULT = 0xF002;
constexpr std::uint32_t CMD_REBOOT_RESULT = 0xF004;

// The header's fields, the integers in host order; on the wire each is big-endian.
struct PacketHeader {
    std::array<std::uint8_t, header::kMagic.size> magic{};  // the bytes as they stand
    std::uint32_t reserved = 0;
    std::uint32_t command = 0;
    std::uint32_t sessionId = 0;
    std::uint32_t payloadLength = 0;  // never decides: the datagram's real size does
    std::uint32_t errorCode = 0;

    // What every request starts with: the magic with its NUL, `command`, `sessionId`, the
    // payload length datagramSize - 36, zero elsewhere.
    static PacketHeader ForRequest(std::uint32_t command, std::uint32_t sessionId,
                                   std::size_t datagramSize);

    // The header at the start of `datagram`; bytes past its end read as zero.
    static PacketHeader Read(std::span<const std::uint8_t> datagram);

    // Writes every field into the start of `datagram`; nothing when it is shorter than 36 bytes.
    void Write(std::span<std::uint8_t> datagram) const;

    // True when bytes 0..13 are the magic and byte 14 is NUL; byte 15 is not looked at.
    bool HasMagic() const;

    bool operator==(const PacketHeader&) const = default;
};

static_assert(header::kReserved.size == sizeof(PacketHeader::reserved) &&
              header::kCommand.size == sizeof(PacketHeader::command) &&
              header::kSessionId.size == sizeof(PacketHeader::sessionId) &&
              header::kPayloadLength.size == sizeof(PacketHeader::payloadLength) &&
              header::kErrorCode.size == sizeof(PacketHeader::errorCode));

}  // namespace protocol
