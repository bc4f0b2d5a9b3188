#include "protocol/wire_codec.h"

#include <algorithm>

namespace protocol {

namespace {

std::uint8_t ByteAt(std::span<const std::uint8_t> bytes, std::size_t offset) {
    return offset < bytes.size() ? bytes[offset] : std::uint8_t{0};
}

// The part of `field` that lies inside `bytes`.
std::span<std::uint8_t> FieldSpan(std::span<std::uint8_t> bytes, Field field) {
    if (field.offset >= bytes.size()) {
        return {};
    }
    return bytes.subspan(field.offset, std::min(field.size, bytes.size() - field.offset));
}

}  // namespace

std::uint32_t LoadBe32(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i) {
        value = (value << 8) | ByteAt(bytes, offset + i);
    }
    return value;
}

void StoreBe32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    if (offset > bytes.size() || bytes.size() - offset < 4) {
        return;
    }
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (24 - 8 * i));
    }
}

std::int32_t LoadLe32Signed(std::span<const std::uint8_t> bytes, std::size_t offset) {
    std::uint32_t value = 0;
    for (std::size_t i = 4; i-- > 0;) {
        value = (value << 8) | ByteAt(bytes, offset + i);
    }
    return static_cast<std::int32_t>(value);
}

std::string ReadFieldText(std::span<const std::uint8_t> bytes, Field field) {
    std::string text;
    for (std::size_t i = 0; i < field.size; ++i) {
        const std::uint8_t byte = ByteAt(bytes, field.offset + i);
        if (byte == 0) {
            break;
        }
        text.push_back(static_cast<char>(byte));
    }
    return text;
}

bool FieldHasTerminator(std::span<const std::uint8_t> bytes, Field field) {
    for (std::size_t i = 0; i < field.size; ++i) {
        if (ByteAt(bytes, field.offset + i) == 0) {
            return true;
        }
    }
    return false;
}

void ReadFieldBytes(std::span<const std::uint8_t> bytes, Field field,
                    std::span<std::uint8_t> target) {
    std::fill(target.begin(), target.end(), std::uint8_t{0});
    const std::size_t length = std::min(field.size, target.size());
    for (std::size_t i = 0; i < length; ++i) {
        target[i] = ByteAt(bytes, field.offset + i);
    }
}

void WriteFieldText(std::span<std::uint8_t> bytes, Field field, std::string_view text) {
    std::span<std::uint8_t> target = FieldSpan(bytes, field);
    std::fill(target.begin(), target.end(), std::uint8_t{0});
    if (target.empty()) {
        return;
    }
    text = text.substr(0, text.find('\0'));
    const std::size_t length = std::min(text.size(), target.size() - 1);
    for (std::size_t i = 0; i < length; ++i) {
        target[i] = static_cast<std::uint8_t>(text[i]);
    }
}

void WriteFieldBytes(std::span<std::uint8_t> bytes, Field field,
                     std::span<const std::uint8_t> source) {
    std::span<std::uint8_t> target = FieldSpan(bytes, field);
    std::fill(target.begin(), target.end(), std::uint8_t{0});
    const std::size_t length = std::min(source.size(), target.size());
    std::copy_n(source.begin(), length, target.begin());
}

}  // namespace protocol
