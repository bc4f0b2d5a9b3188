// The 36-byte header at the start of every datagram: its magic, the command codes, writing it
// into a request and reading it from a reply. Layout: header:: in wire_layout.h.
#pragma once

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

// Writes a request header into the start of a zeroed datagram buffer of its full size (at least
// 36 bytes): magic, command, session id, payload length datagram.size() - 36, error code 0.
void WriteRequestHeader(std::span<std::uint8_t> datagram, std::uint32_t command,
                        std::uint32_t sessionId);

// Header fields of a received datagram, in host order (bytes past its end read as zero).
std::uint32_t ReadCommand(std::span<const std::uint8_t> datagram);
std::uint32_t ReadSessionId(std::span<const std::uint8_t> datagram);
std::uint32_t ReadPayloadLength(std::span<const std::uint8_t> datagram);  // never decides
std::uint32_t ReadErrorCode(std::span<const std::uint8_t> datagram);

// True when bytes 0..13 are the magic and byte 14 is NUL; byte 15 is not looked at.
bool HasMagic(std::span<const std::uint8_t> datagram);

}  // namespace protocol
