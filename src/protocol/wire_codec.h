// Reading and writing the wire's fixed-width fields. Reads treat bytes past the end of the given
// bytes as zero, as the zeroed receive buffer does; writes never touch a byte outside the given
// bytes or the field.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "protocol/wire_layout.h"

namespace protocol {

// The big-endian 32-bit integer at `offset`.
std::uint32_t LoadBe32(std::span<const std::uint8_t> bytes, std::size_t offset);

// Stores `value` big-endian at `offset`; writes nothing unless all four bytes lie inside.
void StoreBe32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value);

// The little-endian signed 32-bit integer at `offset`.
std::int32_t LoadLe32Signed(std::span<const std::uint8_t> bytes, std::size_t offset);

// The field's text up to its first NUL; a field without NUL is cut at its width.
std::string ReadFieldText(std::span<const std::uint8_t> bytes, Field field);

// True when the field holds a NUL within its width.
bool FieldHasTerminator(std::span<const std::uint8_t> bytes, Field field);

// Copies the field into `target`, at most target.size() bytes; the rest of `target` is zeroed.
void ReadFieldBytes(std::span<const std::uint8_t> bytes, Field field,
                    std::span<std::uint8_t> target);

// Zeroes the field, then writes `text` (up to its first NUL, at most field.size - 1 bytes) so
// that the field always ends with at least one zero byte. Callers that must not split a
// double-byte character cut the text first (CutAnsiText).
void WriteFieldText(std::span<std::uint8_t> bytes, Field field, std::string_view text);

// Copies `source` into the field, at most field.size bytes; the rest of the field is zeroed.
void WriteFieldBytes(std::span<std::uint8_t> bytes, Field field,
                     std::span<const std::uint8_t> source);

}  // namespace protocol
