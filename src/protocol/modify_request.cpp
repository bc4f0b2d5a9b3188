#include "protocol/modify_request.h"

#include <algorithm>

#include "protocol/ansi_text.h"
#include "protocol/packet_header.h"
#include "protocol/wire_codec.h"

namespace protocol {

namespace {

Field InEntry(std::size_t entryOffset, Field field) {
    return Field{entryOffset + field.offset, field.size};
}

}  // namespace

std::size_t ModifyEntryCount(const std::array<bool, kPanelRows>& rowHasName) {
    for (std::size_t row = kPanelRows; row > 0; --row) {
        if (rowHasName[row - 1]) {
            return row;
        }
    }
    return 0;
}

std::vector<std::uint8_t> BuildModifyRequest(std::uint32_t sessionId,
                                             const Credentials& credentials,
                                             const CDeviceRecord& selected, const DnsSettings& dns,
                                             std::span<const NicRow> rows) {
    using namespace modify_request;
    const std::size_t entries = std::min(rows.size(), kMaxEntries);
    std::vector<std::uint8_t> datagram(SizeFor(entries), 0);
    PacketHeader::ForRequest(CMD_MODIFY_NET, sessionId, datagram.size()).Write(datagram);

    WriteAnsiField(datagram, kUserName, credentials.userName);
    WriteAnsiField(datagram, kPassword, credentials.password);
    WriteFieldBytes(datagram, kIdentity, selected.info.IdentityBytes());
    StoreBe32(datagram, kDnsObtainAutomatically.offset, dns.obtainAutomatically);
    WriteAnsiField(datagram, kPreferredDns, dns.preferred);
    WriteAnsiField(datagram, kAlternateDns, dns.alternate);
    StoreBe32(datagram, kEntryCount.offset, static_cast<std::uint32_t>(entries));

    for (std::size_t k = 0; k < entries; ++k) {
        const std::size_t entry = kEntries + nic_entry::kSize * k;
        const NicRow& row = rows[k];
        WriteAnsiField(datagram, InEntry(entry, nic_entry::kName), row.name);
        WriteAnsiField(datagram, InEntry(entry, nic_entry::kIp), row.ip);
        WriteAnsiField(datagram, InEntry(entry, nic_entry::kMask), row.mask);
        WriteAnsiField(datagram, InEntry(entry, nic_entry::kGateway), row.gateway);
        if (k < selected.nics.size()) {
            WriteFieldBytes(datagram, InEntry(entry, nic_entry::kOpaque),
                            selected.nics[k].OpaqueBytes());
        }
        StoreBe32(datagram, entry + nic_entry::kObtainAutomatically.offset,
                  row.obtainAutomatically);
    }
    return datagram;
}

}  // namespace protocol
