// Invariants of the modify and reboot requests, written from the wire tables with literal
// offsets (not from the layout the builders use). Each broken one aborts (check.h).
#pragma once

#include <cstdint>
#include <span>

#include "protocol/device_record.h"

namespace fuzz {

// The 36-byte header of a request: magic, zero reserved bytes, command, session id, payload
// length (size - 36), zero error code.
void CheckRequestHeader(std::span<const std::uint8_t> request, std::uint32_t command,
                        std::uint32_t sessionId);

// A field of 8-bit text: a NUL within the field and nothing but zeros after it.
void CheckTextField(std::span<const std::uint8_t> request, std::size_t offset, std::size_t size);

// A modify request for `selected`: 460 + 88n bytes with n <= 3 as its count field says, every
// text field terminated, the 336 identity bytes and each entry's bytes 80..83 echoed from the
// record (zeros where it has no such entry), the box states 0 or 1.
void CheckModifyRequest(std::span<const std::uint8_t> request, std::uint32_t sessionId,
                        const protocol::CDeviceRecord& selected);

// A reboot request: 108 bytes, its three text fields terminated.
void CheckRebootRequest(std::span<const std::uint8_t> request, std::uint32_t sessionId);

// The text of a field up to its first NUL (the field is known to hold one).
std::span<const std::uint8_t> FieldText(std::span<const std::uint8_t> request, std::size_t offset,
                                        std::size_t size);

}  // namespace fuzz
