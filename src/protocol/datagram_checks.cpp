#include "protocol/datagram_checks.h"

#include <algorithm>

#include "protocol/packet_header.h"

namespace protocol {

bool IsDatagram(int receiveResult) {
    return receiveResult >= 1;
}

bool HasFullHeader(std::size_t length) {
    return length >= header::kSize;
}

bool IsOwnSession(std::span<const std::uint8_t> datagram, std::uint32_t sessionId) {
    return PacketHeader::Read(datagram).sessionId == sessionId;
}

bool HasErrorCode(std::span<const std::uint8_t> datagram) {
    return PacketHeader::Read(datagram).errorCode != 0;
}

bool HasMagic(std::span<const std::uint8_t> datagram) {
    return PacketHeader::Read(datagram).HasMagic();
}

ReplyKind ReplyKindOf(std::span<const std::uint8_t> datagram) {
    switch (PacketHeader::Read(datagram).command) {
        case CMD_DEVICE_INFO:
            return ReplyKind::kDeviceInfo;
        case CMD_MODIFY_RESULT:
            return ReplyKind::kModifyResult;
        case CMD_REBOOT_RESULT:
            return ReplyKind::kRebootResult;
        default:
            return ReplyKind::kOther;
    }
}

std::span<const std::uint8_t> PayloadOf(std::span<const std::uint8_t> datagram) {
    if (datagram.size() <= header::kSize) {
        return {};
    }
    return datagram.subspan(header::kSize);
}

std::string ResultText(std::span<const std::uint8_t> payload) {
    const auto end = std::find(payload.begin(), payload.end(), std::uint8_t{0});
    return std::string(payload.begin(), end);
}

}  // namespace protocol
