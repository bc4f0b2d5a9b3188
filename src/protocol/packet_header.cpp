#include "protocol/packet_header.h"

#include <algorithm>

#include "protocol/wire_codec.h"

namespace protocol {

PacketHeader PacketHeader::ForRequest(std::uint32_t command, std::uint32_t sessionId,
                                      std::size_t datagramSize) {
    PacketHeader h;
    std::copy(kMagic.begin(), kMagic.end(), h.magic.begin());
    h.command = command;
    h.sessionId = sessionId;
    h.payloadLength =
        static_cast<std::uint32_t>(datagramSize > header::kSize ? datagramSize - header::kSize : 0);
    return h;
}

PacketHeader PacketHeader::Read(std::span<const std::uint8_t> datagram) {
    PacketHeader h;
    ReadFieldBytes(datagram, header::kMagic, h.magic);
    h.reserved = LoadBe32(datagram, header::kReserved.offset);
    h.command = LoadBe32(datagram, header::kCommand.offset);
    h.sessionId = LoadBe32(datagram, header::kSessionId.offset);
    h.payloadLength = LoadBe32(datagram, header::kPayloadLength.offset);
    h.errorCode = LoadBe32(datagram, header::kErrorCode.offset);
    return h;
}

void PacketHeader::Write(std::span<std::uint8_t> datagram) const {
    if (datagram.size() < header::kSize) {
        return;
    }
    WriteFieldBytes(datagram, header::kMagic, magic);
    StoreBe32(datagram, header::kReserved.offset, reserved);
    StoreBe32(datagram, header::kCommand.offset, command);
    StoreBe32(datagram, header::kSessionId.offset, sessionId);
    StoreBe32(datagram, header::kPayloadLength.offset, payloadLength);
    StoreBe32(datagram, header::kErrorCode.offset, errorCode);
}

bool PacketHeader::HasMagic() const {
    // Read with room for one byte more than the magic: a 14-byte text equal to it means
    // byte 14 is the NUL.
    return ReadFieldText(magic, Field{0, kMagic.size() + 1}) == kMagic;
}

}  // namespace protocol
