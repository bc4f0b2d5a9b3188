#include "protocol/reboot_request.h"

#include "protocol/ansi_text.h"
#include "protocol/packet_header.h"
#include "protocol/wire_codec.h"

namespace protocol {

std::optional<std::string> RebootDeviceId(const DeviceInfo& info) {
    if (!info.SerialIsTerminated()) {
        return std::nullopt;
    }
    return info.Serial();
}

std::vector<std::uint8_t> BuildRebootRequest(std::uint32_t sessionId,
                                             const Credentials& credentials,
                                             std::string_view deviceId) {
    std::vector<std::uint8_t> datagram(reboot_request::kSize, 0);
    PacketHeader::ForRequest(CMD_REBOOT, sessionId, datagram.size()).Write(datagram);
    WriteAnsiField(datagram, reboot_request::kUserName, credentials.userName);
    WriteAnsiField(datagram, reboot_request::kPassword, credentials.password);
    WriteAnsiField(datagram, reboot_request::kDeviceId, deviceId);
    return datagram;
}

}  // namespace protocol
