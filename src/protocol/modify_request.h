// The modify request: new network settings for the device of the selected record, named by the
// identity bytes of its block. Layout: modify_request:: in wire_layout.h.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "protocol/credentials.h"
#include "protocol/device_record.h"

namespace protocol {

// The panel's rows: "网卡1", "网卡2", "无线".
constexpr std::size_t kPanelRows = modify_request::kMaxEntries;

// The DNS row. Texts are code page 936 bytes; the flag is the box state, sent as given (0/1).
struct DnsSettings {
    std::uint32_t obtainAutomatically = 0;
    std::string preferred;
    std::string alternate;
};

// One interface row. Texts are code page 936 bytes; the name, which comes from the device, may
// be longer than its field and is cut to 19 bytes on a character boundary. The flag is the box
// state, sent as given (0/1).
struct NicRow {
    std::string name;
    std::string ip;
    std::string mask;
    std::string gateway;
    std::uint32_t obtainAutomatically = 0;
};

// How many rows a request carries: 1 + the highest row index whose name is not empty, 0 when
// all three are empty. Rows below it go along even when their own name is empty.
std::size_t ModifyEntryCount(const std::array<bool, kPanelRows>& rowHasName);

// 460 + 88 * n bytes for n = rows.size() (at most 3; extra rows are ignored): header with
// CMD_MODIFY_NET and payload length 424 + 88 * n, the credentials, bytes 200..535 of
// selected.info byte for byte, the DNS row, n, and entry k from rows[k] with bytes 80..83 of
// selected.nics[k] (zero where the record has no entry k). Every text is cut to its field.
std::vector<std::uint8_t> BuildModifyRequest(std::uint32_t sessionId,
                                             const Credentials& credentials,
                                             const CDeviceRecord& selected, const DnsSettings& dns,
                                             std::span<const NicRow> rows);

}  // namespace protocol
