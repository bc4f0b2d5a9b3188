// The checks the receive step makes on a received datagram, one function each. The receive
// step applies them in this order: IsDatagram, HasFullHeader, IsOwnSession, HasErrorCode (show
// "error_id", then go on), HasMagic, then ReplyKindOf selects the handler.
// `datagram` is the received bytes with their real length.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "protocol/packet_header.h"

namespace protocol {

// False for a receive error or an empty datagram (receive result below 1).
bool IsDatagram(int receiveResult);

// False for a datagram shorter than the 36-byte header: dropped without a trace.
bool HasFullHeader(std::size_t length);

// True when the session id at offset 24 is this run's.
bool IsOwnSession(std::span<const std::uint8_t> datagram, std::uint32_t sessionId);

// True when the error code at offset 32 is not zero.
bool HasErrorCode(std::span<const std::uint8_t> datagram);

// True when bytes 0..13 are the magic and byte 14 is NUL; byte 15 is not looked at.
bool HasMagic(std::span<const std::uint8_t> datagram);

enum class ReplyKind {
    kDeviceInfo,    // CMD_DEVICE_INFO: add the device
    kModifyResult,  // CMD_MODIFY_RESULT: show it unless a result was shown already
    kRebootResult,  // CMD_REBOOT_RESULT: the same
    kOther,         // any other command, requests included: ignored
};

// What the command at offset 20 asks for, compared as a whole 32-bit value.
ReplyKind ReplyKindOf(std::span<const std::uint8_t> datagram);

// The bytes after the header (empty for a 36-byte datagram).
std::span<const std::uint8_t> PayloadOf(std::span<const std::uint8_t> datagram);

// The text of a result reply's payload: up to its first NUL or the end of the datagram, as
// 8-bit text in code page 936, unconverted. "" means the device sent no text.
std::string ResultText(std::span<const std::uint8_t> payload);

}  // namespace protocol
