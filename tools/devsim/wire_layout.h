// Where every field of the device protocol sits, as a device sees it. The simulator keeps its own
// table so that it checks the tool instead of repeating it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace devsim::wire {

struct Field {
    std::size_t offset;
    std::size_t size;
    constexpr std::size_t End() const { return offset + size; }
};

constexpr std::uint16_t kDevicePort = 5050;

// The magic's 14 characters; the header holds them followed by a NUL.
inline constexpr char kMagicText[] = "AABBCCDD_KAVRO";
constexpr std::size_t kMagicTextLength = sizeof(kMagicText) - 1;

// Header of every datagram; integers are 32-bit big-endian.
namespace header {
constexpr Field kMagic{0, 16};
constexpr Field kReserved{16, 4};
constexpr Field kCommand{20, 4};
constexpr Field kSessionId{24, 4};
constexpr Field kPayloadLength{28, 4};
constexpr Field kErrorCode{32, 4};
constexpr std::size_t kSize = 36;
}  // namespace header

namespace command {
constexpr std::uint32_t kSearch = 1;
constexpr std::uint32_t kModify = 2;
constexpr std::uint32_t kReboot = 4;
constexpr std::uint32_t kDeviceInfo = 0xF001;
constexpr std::uint32_t kModifyResult = 0xF002;
constexpr std::uint32_t kRebootResult = 0xF004;
}  // namespace command

// The device description that opens a search reply's payload (offsets from the payload start).
namespace info {
constexpr Field kLeading{0, 200};
constexpr Field kName{200, 192};
constexpr Field kSerial{392, 32};
constexpr Field kType{424, 32};
constexpr Field kActivationDate{456, 20};
constexpr Field kFirmware{476, 20};
constexpr Field kSoftware{496, 20};
constexpr Field kUpgradeDate{516, 20};
constexpr Field kDnsFlag{536, 4};
constexpr Field kDns1{540, 20};
constexpr Field kDns2{560, 20};
constexpr Field kNicCount{580, 4};
constexpr std::size_t kSize = 584;
}  // namespace info

// One network interface; follows the description, once per interface.
namespace nic {
constexpr Field kName{0, 20};
constexpr Field kIp{20, 20};
constexpr Field kMask{40, 20};
constexpr Field kGateway{60, 20};
constexpr Field kOpaque{80, 4};
constexpr Field kFlag{84, 4};
constexpr std::size_t kSize = 88;
}  // namespace nic

// The one field of each request a device needs to know whether it is meant (payload offsets).
namespace modify_request {
constexpr Field kSerial{232, 32};
}
namespace reboot_request {
constexpr Field kDeviceId{40, 32};
}

}  // namespace devsim::wire
