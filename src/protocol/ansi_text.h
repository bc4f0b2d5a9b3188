// Byte-level rules for 8-bit texts in code page 936 (GBK): whether a text fits a field, cutting
// one without splitting a double-byte character, and writing one into a field.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "protocol/wire_layout.h"

namespace protocol {

// True when `text` and its terminating zero fit in a field of `fieldSize` bytes: a 20-byte
// field holds at most 19 bytes of text, the 32-byte device ID at most 31.
bool FitsInField(std::string_view text, std::size_t fieldSize);

// `text` up to its first NUL, cut to at most `maxBytes` bytes; a double-byte character that
// would straddle the cut is left out whole.
std::string CutAnsiText(std::string_view text, std::size_t maxBytes);

// Zeroes the field and writes `text` cut to field.size - 1 bytes (CutAnsiText), so the field
// always ends with its terminating zero.
void WriteAnsiField(std::span<std::uint8_t> bytes, Field field, std::string_view text);

}  // namespace protocol
