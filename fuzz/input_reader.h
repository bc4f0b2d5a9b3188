// Reads a fuzzer's input from front to back. Past the end every read gives zeros or nothing,
// so any input, however short, is a complete one.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>
#include <string>

namespace fuzz {

class InputReader {
  public:
    InputReader(const std::uint8_t* data, std::size_t size) : rest_(data, size) {}

    bool AtEnd() const { return rest_.empty(); }

    std::uint8_t Byte() {
        const std::span<const std::uint8_t> b = Bytes(1);
        return b.empty() ? 0 : b[0];
    }

    std::uint16_t Le16() {
        const std::uint16_t low = Byte();
        return static_cast<std::uint16_t>(low | (Byte() << 8));
    }

    // Four bytes as they lie in memory (a network-order address stays in network order).
    std::uint32_t Raw32() {
        std::uint8_t bytes[4] = {};
        const std::span<const std::uint8_t> b = Bytes(4);
        std::copy(b.begin(), b.end(), bytes);
        std::uint32_t value = 0;
        std::memcpy(&value, bytes, sizeof value);
        return value;
    }

    // Up to `count` bytes, fewer when the input ends first.
    std::span<const std::uint8_t> Bytes(std::size_t count) {
        const std::size_t taken = std::min(count, rest_.size());
        const std::span<const std::uint8_t> bytes = rest_.first(taken);
        rest_ = rest_.subspan(taken);
        return bytes;
    }

    std::span<const std::uint8_t> Rest() { return Bytes(rest_.size()); }

    // A UTF-16 text: a length byte, then that many little-endian units (any values, lone
    // surrogates and NULs included).
    std::u16string Text() {
        const std::size_t units = Byte();
        std::u16string text;
        for (std::size_t i = 0; i < units && !AtEnd(); ++i) {
            text.push_back(static_cast<char16_t>(Le16()));
        }
        return text;
    }

  private:
    std::span<const std::uint8_t> rest_;
};

// Builds inputs in the same layout (the seed corpus).
class InputWriter {
  public:
    void Byte(std::uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void Le16(std::uint16_t value) {
        Byte(static_cast<std::uint8_t>(value));
        Byte(static_cast<std::uint8_t>(value >> 8));
    }
    void Raw32(std::uint32_t value) {
        char raw[4];
        std::memcpy(raw, &value, sizeof raw);
        bytes_.append(raw, sizeof raw);
    }
    void Bytes(std::span<const std::uint8_t> bytes) {
        bytes_.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    void Text(std::u16string_view text) {
        const std::size_t units = std::min<std::size_t>(text.size(), 255);
        Byte(static_cast<std::uint8_t>(units));
        for (std::size_t i = 0; i < units; ++i) {
            Le16(text[i]);
        }
    }
    const std::string& Data() const { return bytes_; }

  private:
    std::string bytes_;
};

}  // namespace fuzz
