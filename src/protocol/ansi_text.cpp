#include "protocol/ansi_text.h"

#include <cstdint>

#include "protocol/wire_codec.h"

namespace protocol {

namespace {

bool IsLeadByte(std::uint8_t byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool IsTrailByte(std::uint8_t byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

}  // namespace

bool FitsInField(std::string_view text, std::size_t fieldSize) {
    return text.size() < fieldSize;
}

std::string CutAnsiText(std::string_view text, std::size_t maxBytes) {
    text = text.substr(0, text.find('\0'));
    std::size_t kept = 0;
    while (kept < text.size()) {
        std::size_t width = 1;
        if (kept + 1 < text.size() && IsLeadByte(static_cast<std::uint8_t>(text[kept])) &&
            IsTrailByte(static_cast<std::uint8_t>(text[kept + 1]))) {
            width = 2;
        }
        if (kept + width > maxBytes) {
            break;
        }
        kept += width;
    }
    return std::string(text.substr(0, kept));
}

void WriteAnsiField(std::span<std::uint8_t> bytes, Field field, std::string_view text) {
    WriteFieldText(bytes, field, CutAnsiText(text, field.size == 0 ? 0 : field.size - 1));
}

}  // namespace protocol
