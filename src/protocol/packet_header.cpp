#include "protocol/packet_header.h"

#include "protocol/wire_codec.h"

namespace protocol {

void WriteRequestHeader(std::span<std::uint8_t> datagram, std::uint32_t command,
                        std::uint32_t sessionId) {
    if (datagram.size() < header::kSize) {
        return;
    }
    WriteFieldText(datagram, header::kMagic, kMagic);
    StoreBe32(datagram, header::kReserved.offset, 0);
    StoreBe32(datagram, header::kCommand.offset, command);
    StoreBe32(datagram, header::kSessionId.offset, sessionId);
    StoreBe32(datagram, header::kPayloadLength.offset,
              static_cast<std::uint32_t>(datagram.size() - header::kSize));
    StoreBe32(datagram, header::kErrorCode.offset, 0);
}

std::uint32_t ReadCommand(std::span<const std::uint8_t> datagram) {
    return LoadBe32(datagram, header::kCommand.offset);
}

std::uint32_t ReadSessionId(std::span<const std::uint8_t> datagram) {
    return LoadBe32(datagram, header::kSessionId.offset);
}

std::uint32_t ReadPayloadLength(std::span<const std::uint8_t> datagram) {
    return LoadBe32(datagram, header::kPayloadLength.offset);
}

std::uint32_t ReadErrorCode(std::span<const std::uint8_t> datagram) {
    return LoadBe32(datagram, header::kErrorCode.offset);
}

bool HasMagic(std::span<const std::uint8_t> datagram) {
    // Read with room for one byte more than the magic: a 14-byte text equal to it means
    // byte 14 is the NUL.
    const Field magicText{header::kMagic.offset, kMagic.size() + 1};
    return ReadFieldText(datagram, magicText) == kMagic;
}

}  // namespace protocol
