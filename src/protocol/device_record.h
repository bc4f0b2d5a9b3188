// The device record and the device table, and how a device-information reply fills them.
// A payload here is what follows the 36-byte header of a received datagram, with its real
// length; bytes past its end read as zero, as in the zeroed receive buffer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "protocol/device_info.h"

namespace protocol {

// One listed device: the block as received and its interfaces in the order sent. The length of
// `nics` is the device's interface count from then on.
struct CDeviceRecord {
    DeviceInfo info;
    std::vector<NicEntry> nics;
};

// The table holds one record per list line; the record at index i belongs to line i.
constexpr std::size_t kDeviceTableSize = 200;
using DeviceTable = std::array<CDeviceRecord, kDeviceTableSize>;

// Copies the payload's first 584 bytes into record.info (zeros where the payload is shorter).
void StoreDeviceInfo(CDeviceRecord& record, std::span<const std::uint8_t> payload);

// How many entries a count asks to read: none for zero or less, at most the 737 that fit in
// the receive buffer.
std::size_t NicEntriesToRead(std::int32_t interfaceCount);

// Empties record.nics, keeping its storage, and appends the payload's entries: as many as the
// payload's count asks (see NicEntriesToRead), entries past the payload's end all zero.
void FillNicList(CDeviceRecord& record, std::span<const std::uint8_t> payload);

// The duplicate test: serial texts up to their first NUL, at most 32 bytes each, byte for byte,
// case-sensitive.
bool SameSerial(const DeviceInfo& a, const DeviceInfo& b);

// True when one of records 0..lineCount-1 has the candidate's serial.
bool IsSerialListed(const DeviceTable& table, std::size_t lineCount, const DeviceInfo& candidate);

enum class StoreOutcome {
    kAdded,      // record lineCount holds the device; insert its line at index lineCount
    kDuplicate,  // already listed: no line; only the block of record lineCount was overwritten
    kTableFull,  // lineCount >= 200: nothing stored, the reply is dropped
};

// The storing half of adding a device: copies the block into record lineCount, then, unless
// the serial is already listed in records 0..lineCount-1, refills that record's interface list.
StoreOutcome StoreDeviceReply(DeviceTable& table, std::size_t lineCount,
                              std::span<const std::uint8_t> payload);

}  // namespace protocol
