#include "bytes.h"

#include <algorithm>
#include <cstring>

namespace devsim {

Bytes BytesOf(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

namespace {
int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}
}  // namespace

std::optional<Bytes> ParseHex(std::string_view hex) {
    if (hex.size() % 2 != 0) {
        return std::nullopt;
    }
    Bytes out;
    out.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int high = HexDigit(hex[i]);
        const int low = HexDigit(hex[i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        out.push_back(static_cast<std::uint8_t>(high * 16 + low));
    }
    return out;
}

std::string ToHex(const std::uint8_t* data, std::size_t size) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    out.reserve(size * 2);
    for (std::size_t i = 0; i < size; ++i) {
        out.push_back(kDigits[data[i] >> 4]);
        out.push_back(kDigits[data[i] & 0x0F]);
    }
    return out;
}

void PutBigEndian32(Bytes& buffer, std::size_t offset, std::uint32_t value) {
    buffer.at(offset + 3);  // bounds, once
    buffer[offset] = static_cast<std::uint8_t>(value >> 24);
    buffer[offset + 1] = static_cast<std::uint8_t>(value >> 16);
    buffer[offset + 2] = static_cast<std::uint8_t>(value >> 8);
    buffer[offset + 3] = static_cast<std::uint8_t>(value);
}

std::uint32_t GetBigEndian32(const Bytes& buffer, std::size_t offset) {
    buffer.at(offset + 3);
    return (std::uint32_t{buffer[offset]} << 24) | (std::uint32_t{buffer[offset + 1]} << 16) |
           (std::uint32_t{buffer[offset + 2]} << 8) | std::uint32_t{buffer[offset + 3]};
}

void PutField(Bytes& buffer, std::size_t base, wire::Field field, const Bytes& value) {
    const std::size_t n = std::min(value.size(), field.size);
    buffer.at(base + field.End() - 1);
    std::copy_n(value.begin(), n,
                buffer.begin() + static_cast<std::ptrdiff_t>(base + field.offset));
}

Bytes TextInField(const std::uint8_t* fieldStart, std::size_t width) {
    const void* nul = std::memchr(fieldStart, 0, width);
    const std::size_t length =
        nul ? static_cast<std::size_t>(static_cast<const std::uint8_t*>(nul) - fieldStart) : width;
    return Bytes(fieldStart, fieldStart + length);
}

}  // namespace devsim
