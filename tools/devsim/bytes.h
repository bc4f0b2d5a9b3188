// Byte strings and the few ways the simulator reads and writes them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "wire_layout.h"

namespace devsim {

using Bytes = std::vector<std::uint8_t>;

Bytes BytesOf(std::string_view text);
// Even number of hex digits, nothing else; nullopt otherwise.
std::optional<Bytes> ParseHex(std::string_view hex);
std::string ToHex(const std::uint8_t* data, std::size_t size);

void PutBigEndian32(Bytes& buffer, std::size_t offset, std::uint32_t value);
std::uint32_t GetBigEndian32(const Bytes& buffer, std::size_t offset);
// Copies `value` into the field (which must fit it); the rest of the field stays as it is.
void PutField(Bytes& buffer, std::size_t base, wire::Field field, const Bytes& value);
// A text field up to its first NUL, never past the field's width.
Bytes TextInField(const std::uint8_t* fieldStart, std::size_t width);

}  // namespace devsim
