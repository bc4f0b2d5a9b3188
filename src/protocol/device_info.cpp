#include "protocol/device_info.h"

#include <algorithm>

#include "protocol/wire_codec.h"

namespace protocol {

std::string NicEntry::Name() const {
    return ReadFieldText(bytes, nic_entry::kName);
}
std::string NicEntry::Ip() const {
    return ReadFieldText(bytes, nic_entry::kIp);
}
std::string NicEntry::Mask() const {
    return ReadFieldText(bytes, nic_entry::kMask);
}
std::string NicEntry::Gateway() const {
    return ReadFieldText(bytes, nic_entry::kGateway);
}

std::array<std::uint8_t, nic_entry::kOpaque.size> NicEntry::OpaqueBytes() const {
    std::array<std::uint8_t, nic_entry::kOpaque.size> opaque{};
    std::copy_n(bytes.begin() + nic_entry::kOpaque.offset, opaque.size(), opaque.begin());
    return opaque;
}

bool NicEntry::ObtainsAutomatically() const {
    return LoadLe32Signed(bytes, nic_entry::kObtainAutomatically.offset) > 0;
}

std::string DeviceInfo::Name() const {
    return ReadFieldText(bytes, device_info::kName);
}
std::string DeviceInfo::Serial() const {
    return ReadFieldText(bytes, device_info::kSerial);
}
std::string DeviceInfo::Type() const {
    return ReadFieldText(bytes, device_info::kType);
}

std::string DeviceInfo::ActivationDate() const {
    return ReadFieldText(bytes, device_info::kActivationDate);
}

std::string DeviceInfo::FirmwareVersion() const {
    return ReadFieldText(bytes, device_info::kFirmwareVersion);
}

std::string DeviceInfo::SoftwareVersion() const {
    return ReadFieldText(bytes, device_info::kSoftwareVersion);
}

std::string DeviceInfo::UpgradeDate() const {
    return ReadFieldText(bytes, device_info::kUpgradeDate);
}

std::string DeviceInfo::PreferredDns() const {
    return ReadFieldText(bytes, device_info::kPreferredDns);
}

std::string DeviceInfo::AlternateDns() const {
    return ReadFieldText(bytes, device_info::kAlternateDns);
}

std::int32_t DeviceInfo::InterfaceCount() const {
    return static_cast<std::int32_t>(LoadBe32(bytes, device_info::kInterfaceCount.offset));
}

bool DeviceInfo::SerialIsTerminated() const {
    return FieldHasTerminator(bytes, device_info::kSerial);
}

std::span<const std::uint8_t, device_info::kIdentity.size> DeviceInfo::IdentityBytes() const {
    return std::span<const std::uint8_t, device_info::kSize>(bytes)
        .subspan<device_info::kIdentity.offset, device_info::kIdentity.size>();
}

}  // namespace protocol
