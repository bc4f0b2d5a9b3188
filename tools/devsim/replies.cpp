#include "replies.h"

#include <algorithm>
#include <cstring>

namespace devsim {

namespace {

namespace header = wire::header;

Bytes Header(std::uint32_t command, std::uint32_t sessionId, std::size_t payloadLength,
             std::uint32_t errorCode) {
    Bytes out(header::kSize + payloadLength, 0);
    std::memcpy(out.data() + header::kMagic.offset, wire::kMagicText, wire::kMagicTextLength);
    PutBigEndian32(out, header::kCommand.offset, command);
    PutBigEndian32(out, header::kSessionId.offset, sessionId);
    PutBigEndian32(out, header::kPayloadLength.offset, static_cast<std::uint32_t>(payloadLength));
    PutBigEndian32(out, header::kErrorCode.offset, errorCode);
    return out;
}

bool HasMagic(const Bytes& datagram) {
    return datagram.size() >= header::kSize &&
           std::memcmp(datagram.data(), wire::kMagicText, wire::kMagicTextLength + 1) == 0;
}

// Whether the text in a request's field names this device: both sides read up to their first
// NUL, never past the field's width.
bool NamesDevice(const Bytes& request, wire::Field field, const Bytes& serial) {
    const std::size_t start = header::kSize + field.offset;
    if (request.size() < start + field.size) {
        return false;
    }
    const Bytes named = TextInField(request.data() + start, field.size);
    const Bytes own = TextInField(serial.data(), std::min(serial.size(), field.size));
    return named == own;
}

Bytes ResultReply(const DeviceConfig& device, std::uint32_t command, std::uint32_t sessionId,
                  const Bytes& text) {
    const std::size_t payload = text.size() + (device.terminateResult ? 1 : 0);
    Bytes out = Header(command, sessionId, payload, device.errorCode);
    std::copy(text.begin(), text.end(), out.begin() + header::kSize);
    return out;
}

}  // namespace

Bytes DeviceInfoReply(const DeviceConfig& device, std::uint32_t sessionId) {
    namespace info = wire::info;
    namespace nic = wire::nic;
    const std::size_t payload = info::kSize + nic::kSize * device.nics.size();
    Bytes out = Header(wire::command::kDeviceInfo, sessionId, payload, device.errorCode);
    const std::size_t base = header::kSize;
    PutField(out, base, info::kLeading, Bytes(device.leading.begin(), device.leading.end()));
    PutField(out, base, info::kName, device.name);
    PutField(out, base, info::kSerial, device.serial);
    PutField(out, base, info::kType, device.type);
    PutField(out, base, info::kActivationDate, device.activationDate);
    PutField(out, base, info::kFirmware, device.firmware);
    PutField(out, base, info::kSoftware, device.software);
    PutField(out, base, info::kUpgradeDate, device.upgradeDate);
    PutField(out, base, info::kDnsFlag, Bytes(device.dnsFlag.begin(), device.dnsFlag.end()));
    PutField(out, base, info::kDns1, device.dns1);
    PutField(out, base, info::kDns2, device.dns2);
    const auto count = device.nicCountField.value_or(static_cast<std::int32_t>(device.nics.size()));
    PutBigEndian32(out, base + info::kNicCount.offset, static_cast<std::uint32_t>(count));
    for (std::size_t k = 0; k < device.nics.size(); ++k) {
        const NicConfig& n = device.nics[k];
        const std::size_t entry = base + info::kSize + nic::kSize * k;
        PutField(out, entry, nic::kName, n.name);
        PutField(out, entry, nic::kIp, n.ip);
        PutField(out, entry, nic::kMask, n.mask);
        PutField(out, entry, nic::kGateway, n.gateway);
        PutField(out, entry, nic::kOpaque, Bytes(n.opaque.begin(), n.opaque.end()));
        PutField(out, entry, nic::kFlag, Bytes(n.flag.begin(), n.flag.end()));
    }
    return out;
}

std::optional<Bytes> ReplyTo(const DeviceConfig& device, const Bytes& request) {
    if (device.silent || !HasMagic(request)) {
        return std::nullopt;
    }
    const std::uint32_t command = GetBigEndian32(request, header::kCommand.offset);
    const std::uint32_t session = GetBigEndian32(request, header::kSessionId.offset);
    switch (command) {
        case wire::command::kSearch:
            return DeviceInfoReply(device, session);
        case wire::command::kModify:
            if (!NamesDevice(request, wire::modify_request::kSerial, device.serial)) {
                return std::nullopt;
            }
            return ResultReply(device, wire::command::kModifyResult, session, device.modifyResult);
        case wire::command::kReboot:
            if (!NamesDevice(request, wire::reboot_request::kDeviceId, device.serial)) {
                return std::nullopt;
            }
            return ResultReply(device, wire::command::kRebootResult, session, device.rebootResult);
        default:
            return std::nullopt;
    }
}

}  // namespace devsim
