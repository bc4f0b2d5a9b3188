#include "protocol/device_record.h"

#include <algorithm>

#include "protocol/wire_codec.h"

namespace protocol {

namespace {

// Copies bytes [offset, offset + target.size()) of `source` into `target`, zeros past its end.
void CopyZeroPadded(std::span<const std::uint8_t> source, std::size_t offset,
                    std::span<std::uint8_t> target) {
    std::fill(target.begin(), target.end(), std::uint8_t{0});
    if (offset >= source.size()) {
        return;
    }
    const std::size_t available = std::min(target.size(), source.size() - offset);
    std::copy_n(source.begin() + static_cast<std::ptrdiff_t>(offset), available, target.begin());
}

}  // namespace

void StoreDeviceInfo(CDeviceRecord& record, std::span<const std::uint8_t> payload) {
    CopyZeroPadded(payload, 0, record.info.bytes);
}

std::size_t NicEntriesToRead(std::int32_t interfaceCount) {
    if (interfaceCount <= 0) {
        return 0;
    }
    return std::min(static_cast<std::size_t>(interfaceCount), receive::kMaxNicEntries);
}

void FillNicList(CDeviceRecord& record, std::span<const std::uint8_t> payload) {
    const std::size_t count = NicEntriesToRead(
        static_cast<std::int32_t>(LoadBe32(payload, device_info::kInterfaceCount.offset)));

    record.nics.clear();
    record.nics.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        NicEntry& entry = record.nics.emplace_back();
        CopyZeroPadded(payload, device_info::kSize + nic_entry::kSize * k, entry.bytes);
    }
}

bool SameSerial(const DeviceInfo& a, const DeviceInfo& b) {
    return a.Serial() == b.Serial();
}

bool IsSerialListed(const DeviceTable& table, std::size_t lineCount, const DeviceInfo& candidate) {
    const std::size_t listed = std::min(lineCount, table.size());
    for (std::size_t i = 0; i < listed; ++i) {
        if (SameSerial(table[i].info, candidate)) {
            return true;
        }
    }
    return false;
}

StoreOutcome StoreDeviceReply(DeviceTable& table, std::size_t lineCount,
                              std::span<const std::uint8_t> payload) {
    if (lineCount >= table.size()) {
        return StoreOutcome::kTableFull;
    }
    CDeviceRecord& record = table[lineCount];
    StoreDeviceInfo(record, payload);
    if (IsSerialListed(table, lineCount, record.info)) {
        return StoreOutcome::kDuplicate;
    }
    FillNicList(record, payload);
    return StoreOutcome::kAdded;
}

}  // namespace protocol
