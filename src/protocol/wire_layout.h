// Every byte position on the wire, in one place: the packet header, the device information
// block, the interface entry, and the modify and reboot requests. Offsets count from the start
// of the structure named by the namespace; all integers on the wire are 32-bit.
#pragma once

#include <cstddef>

namespace protocol {

// One fixed-width field: where it starts and how many bytes it spans.
struct Field {
    std::size_t offset;
    std::size_t size;

    constexpr std::size_t End() const { return offset + size; }
};

// The 36 bytes at the start of every datagram, both directions; PacketHeader reads and writes
// them.
namespace header {
constexpr Field kMagic{0, 16};
constexpr Field kReserved{16, 4};
constexpr Field kCommand{20, 4};
constexpr Field kSessionId{24, 4};
constexpr Field kPayloadLength{28, 4};
constexpr Field kErrorCode{32, 4};
constexpr std::size_t kSize = 36;
static_assert(kErrorCode.End() == kSize);
}  // namespace header

// The block a device describes itself with, at the start of a device-information payload.
namespace device_info {
constexpr Field kOpaque{0, 200};
constexpr Field kName{200, 192};  // UTF-8
constexpr Field kSerial{392, 32};
constexpr Field kType{424, 32};
constexpr Field kActivationDate{456, 20};
constexpr Field kFirmwareVersion{476, 20};
constexpr Field kSoftwareVersion{496, 20};
constexpr Field kUpgradeDate{516, 20};
constexpr Field kDnsObtainAutomatically{536, 4};
constexpr Field kPreferredDns{540, 20};
constexpr Field kAlternateDns{560, 20};
constexpr Field kInterfaceCount{580, 4};  // big-endian, signed
constexpr std::size_t kSize = 584;
// Name through upgrade date: what a modify request echoes to name its device.
constexpr Field kIdentity{kName.offset, kDnsObtainAutomatically.offset - kName.offset};
static_assert(kInterfaceCount.End() == kSize);
static_assert(kIdentity.size == 336);
}  // namespace device_info

// One network interface; the same layout in device-information replies and modify requests.
namespace nic_entry {
constexpr Field kName{0, 20};
constexpr Field kIp{20, 20};
constexpr Field kMask{40, 20};
constexpr Field kGateway{60, 20};
constexpr Field kOpaque{80, 4};  // echoed back unchanged by a modify request
constexpr Field kObtainAutomatically{84, 4};
constexpr std::size_t kSize = 88;
static_assert(kObtainAutomatically.End() == kSize);
}  // namespace nic_entry

// What a received datagram can hold: the worker receives into a buffer of this size, so no
// interface entry may be read from beyond it.
namespace receive {
constexpr std::size_t kBufferSize = 65536;
constexpr std::size_t kMaxPayloadSize = kBufferSize - header::kSize;
// Entries lying wholly inside the receive buffer after the header and the block.
constexpr std::size_t kMaxNicEntries = (kMaxPayloadSize - device_info::kSize) / nic_entry::kSize;
static_assert(kMaxNicEntries == 737);
}  // namespace receive

// Modify request, offsets from the start of the datagram. From the identity on, the payload
// repeats the device information block's layout from its name on.
namespace modify_request {
constexpr std::size_t kPayload = header::kSize;
constexpr Field kUserName{kPayload + 0, 20};
constexpr Field kPassword{kPayload + 20, 20};
constexpr Field kIdentity{kPayload + 40, device_info::kIdentity.size};
constexpr Field kDnsObtainAutomatically{kPayload + 376, 4};
constexpr Field kPreferredDns{kPayload + 380, 20};
constexpr Field kAlternateDns{kPayload + 400, 20};
constexpr Field kEntryCount{kPayload + 420, 4};
constexpr std::size_t kEntries = kPayload + 424;
constexpr std::size_t kMaxEntries = 3;  // one per panel row
constexpr std::size_t kSizeWithoutEntries = kEntries;
constexpr std::size_t SizeFor(std::size_t entries) {
    return kSizeWithoutEntries + nic_entry::kSize * entries;
}
static_assert(kIdentity.End() == kDnsObtainAutomatically.offset);
static_assert(kDnsObtainAutomatically.offset - kIdentity.offset ==
              device_info::kDnsObtainAutomatically.offset - device_info::kName.offset);
static_assert(kEntryCount.offset - kIdentity.offset ==
              device_info::kInterfaceCount.offset - device_info::kName.offset);
static_assert(SizeFor(0) == 460 && SizeFor(3) == 724);
}  // namespace modify_request

// Reboot request, offsets from the start of the datagram.
namespace reboot_request {
constexpr Field kUserName{header::kSize + 0, 20};
constexpr Field kPassword{header::kSize + 20, 20};
constexpr Field kDeviceId{header::kSize + 40, 32};
constexpr std::size_t kSize = 108;
static_assert(kDeviceId.End() == kSize);
}  // namespace reboot_request

}  // namespace protocol
