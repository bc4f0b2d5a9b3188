// fuzz_requests: any device record and any panel contents through the modify and reboot
// builders and the conversions between the window's UTF-16 and the wire's 8-bit texts, as the
// handlers use them. Input layout: requests_input.h.
#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "fuzz/check.h"
#include "fuzz/input_reader.h"
#include "fuzz/request_checks.h"
#include "fuzz/requests_input.h"
#include "platform/codepage.h"
#include "platform/sockets.h"
#include "protocol/ansi_text.h"
#include "protocol/list_line.h"
#include "protocol/modify_request.h"
#include "protocol/reboot_request.h"
#include "protocol/text_conversion.h"

namespace fuzz {
namespace {

using namespace fuzz::requests;

struct PanelRow {
    std::u16string name, ip, mask, gateway;
    bool checked = false;
};

struct Input {
    std::uint32_t sessionId = 0;
    std::uint32_t address = 0;  // network order
    std::array<PanelRow, kRows> rows;
    bool dnsChecked = false;
    std::u16string dns1, dns2, user, password, typedId;
    protocol::CDeviceRecord record;
    std::size_t cutLimit = 0;
    std::string tail;
};

Input Read(InputReader& in) {
    Input input;
    input.sessionId = in.Raw32();
    input.address = in.Raw32();
    for (PanelRow& row : input.rows) {
        row.checked = (in.Byte() & kFlagChecked) != 0;
        row.name = in.Text();
        row.ip = in.Text();
        row.mask = in.Text();
        row.gateway = in.Text();
    }
    input.dnsChecked = (in.Byte() & kFlagChecked) != 0;
    input.dns1 = in.Text();
    input.dns2 = in.Text();
    input.user = in.Text();
    input.password = in.Text();
    input.typedId = in.Text();

    const std::size_t entries = in.Byte() % (kMaxRecordEntries + 1);
    const std::span<const std::uint8_t> info = in.Bytes(kInfoSize);
    std::copy(info.begin(), info.end(), input.record.info.bytes.begin());
    for (std::size_t k = 0; k < entries; ++k) {
        const std::span<const std::uint8_t> entry = in.Bytes(kEntrySize);
        std::copy(entry.begin(), entry.end(), input.record.nics.emplace_back().bytes.begin());
    }
    input.cutLimit = in.Le16();
    const std::span<const std::uint8_t> tail = in.Rest();
    input.tail.assign(tail.begin(), tail.end());
    return input;
}

std::string UpToNul(std::string_view text) {
    return std::string(text.substr(0, text.find('\0')));
}

std::string Text(std::span<const std::uint8_t> bytes) {
    return std::string(bytes.begin(), bytes.end());
}

// What a field holds of the text meant for it: all of a text that fits, else a prefix that
// loses at most the one double-byte character that would straddle the field's last byte.
void CheckFieldOf(std::span<const std::uint8_t> request, std::size_t offset, std::size_t size,
                  const std::string& meant) {
    CheckTextField(request, offset, size);
    const std::string held = Text(FieldText(request, offset, size));
    const std::string source = UpToNul(meant);
    FUZZ_CHECK(source.starts_with(held));
    if (source.size() < size) {
        FUZZ_CHECK(held == source);
    } else {
        FUZZ_CHECK(held.size() + 1 >= size - 1);
    }
}

void Modify(const Input& input) {
    const protocol::Credentials credentials{protocol::WideToAnsi(input.user),
                                            protocol::WideToAnsi(input.password)};
    protocol::DnsSettings dns;
    dns.obtainAutomatically = input.dnsChecked ? 1 : 0;
    dns.preferred = protocol::WideToAnsi(input.dns1);
    dns.alternate = protocol::WideToAnsi(input.dns2);

    std::array<bool, kRows> named{};
    for (std::size_t r = 0; r < kRows; ++r) {
        named[r] = !input.rows[r].name.empty();
    }
    const std::size_t n = protocol::ModifyEntryCount(named);
    FUZZ_CHECK(n <= kRows);
    FUZZ_CHECK(n == 0 || named[n - 1]);
    for (std::size_t r = n; r < kRows; ++r) {
        FUZZ_CHECK(!named[r]);
    }

    std::vector<protocol::NicRow> rows(n);
    for (std::size_t k = 0; k < n; ++k) {
        rows[k].name = protocol::WideToAnsi(input.rows[k].name);
        rows[k].ip = protocol::WideToAnsi(input.rows[k].ip);
        rows[k].mask = protocol::WideToAnsi(input.rows[k].mask);
        rows[k].gateway = protocol::WideToAnsi(input.rows[k].gateway);
        rows[k].obtainAutomatically = input.rows[k].checked ? 1 : 0;
    }

    const std::vector<std::uint8_t> request =
        protocol::BuildModifyRequest(input.sessionId, credentials, input.record, dns, rows);
    CheckModifyRequest(request, input.sessionId, input.record);
    FUZZ_CHECK(request.size() == 460 + 88 * n);
    CheckFieldOf(request, 36, 20, credentials.userName);
    CheckFieldOf(request, 56, 20, credentials.password);
    FUZZ_CHECK(request[415] == (input.dnsChecked ? 1 : 0));
    CheckFieldOf(request, 416, 20, dns.preferred);
    CheckFieldOf(request, 436, 20, dns.alternate);
    for (std::size_t k = 0; k < n; ++k) {
        const std::size_t entry = 460 + 88 * k;
        CheckFieldOf(request, entry, 20, rows[k].name);
        CheckFieldOf(request, entry + 20, 20, rows[k].ip);
        CheckFieldOf(request, entry + 40, 20, rows[k].mask);
        CheckFieldOf(request, entry + 60, 20, rows[k].gateway);
        FUZZ_CHECK(request[entry + 87] == (input.rows[k].checked ? 1 : 0));
    }
}

void Reboot(const Input& input) {
    const protocol::Credentials credentials{protocol::WideToAnsi(input.user),
                                            protocol::WideToAnsi(input.password)};

    // The selected record's serial, byte for byte, or a refusal when it has no NUL.
    const std::optional<std::string> serial = protocol::RebootDeviceId(input.record.info);
    const auto serialBytes = std::span(input.record.info.bytes).subspan(392, 32);
    const bool terminated =
        std::find(serialBytes.begin(), serialBytes.end(), 0) != serialBytes.end();
    FUZZ_CHECK(serial.has_value() == terminated);
    if (serial) {
        const std::vector<std::uint8_t> request =
            protocol::BuildRebootRequest(input.sessionId, credentials, *serial);
        CheckRebootRequest(request, input.sessionId);
        FUZZ_CHECK(Text(FieldText(request, 76, 32)) == Text(serialBytes).c_str());
        CheckFieldOf(request, 36, 20, credentials.userName);
        CheckFieldOf(request, 56, 20, credentials.password);
    }

    // A typed ID: the handler sends only one that fits; the builder cuts any other.
    const std::string typed = protocol::WideToAnsi(input.typedId);
    const std::vector<std::uint8_t> request =
        protocol::BuildRebootRequest(input.sessionId, credentials, typed);
    CheckRebootRequest(request, input.sessionId);
    CheckFieldOf(request, 76, 32, typed);
}

// No text shown from a field has more UTF-16 units than the field has bytes.
void CheckShown(const std::string& fieldText, std::size_t fieldSize) {
    FUZZ_CHECK(fieldText.size() <= fieldSize);
    FUZZ_CHECK(protocol::AnsiToWide(fieldText).size() <= fieldSize);
}

void Conversions(const Input& input) {
    const protocol::DeviceInfo& info = input.record.info;
    CheckShown(info.Serial(), 32);
    CheckShown(info.Type(), 32);
    CheckShown(info.ActivationDate(), 20);
    CheckShown(info.FirmwareVersion(), 20);
    CheckShown(info.SoftwareVersion(), 20);
    CheckShown(info.UpgradeDate(), 20);
    CheckShown(info.PreferredDns(), 20);
    CheckShown(info.AlternateDns(), 20);
    FUZZ_CHECK(info.Name().size() <= 192);
    CheckShown(protocol::Utf8ToAnsi(info.Name()), 192);
    for (const protocol::NicEntry& nic : input.record.nics) {
        CheckShown(nic.Name(), 20);
        CheckShown(nic.Ip(), 20);
        CheckShown(nic.Mask(), 20);
        CheckShown(nic.Gateway(), 20);
    }

    // The line of the record as the list shows it, and the address read back out of it.
    const std::string dotted = plat::inet_ntoa(plat::InAddr{input.address});
    const std::u16string line = protocol::NumberedLine(7, protocol::DeviceLineText(dotted, info));
    FUZZ_CHECK(line.size() <= 2 + 49 + 15 + 32 + 192 + 32 + 4 * 20);
    FUZZ_CHECK(protocol::AddressFromLine(line) == std::u16string(dotted.begin(), dotted.end()));
    const std::u16string typedAddress = protocol::AddressFromLine(input.typedId);
    FUZZ_CHECK(input.typedId.find(typedAddress) != std::u16string::npos);

    // The 1024-unit rule: a text of up to 1023 bytes comes through whole (no code page 936
    // character needs more units than bytes); one of more than 2046 bytes cannot.
    const std::string text = UpToNul(input.tail);
    const std::u16string wide = protocol::AnsiToWide(input.tail);
    FUZZ_CHECK(wide.size() <= 1023);
    if (text.size() <= 1023) {
        FUZZ_CHECK(wide.empty() == text.empty());
        FUZZ_CHECK(wide.size() <= text.size());
    }
    if (text.size() > 2046) {
        FUZZ_CHECK(wide.empty());
    }

    // A cut keeps a prefix, splits no character, and loses at most one straddling one.
    const std::string cut = protocol::CutAnsiText(input.tail, input.cutLimit);
    FUZZ_CHECK(cut.size() <= input.cutLimit);
    FUZZ_CHECK(text.starts_with(cut));
    FUZZ_CHECK(cut.size() + 1 >= std::min(text.size(), input.cutLimit));
    const std::u16string wideAll = plat::AnsiToWideString(text);
    FUZZ_CHECK(wideAll.starts_with(plat::AnsiToWideString(cut)));

    FUZZ_CHECK(protocol::WideToAnsi(input.typedId).find('\0') == std::string::npos);
}

}  // namespace
}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::InputReader reader(data, size);
    const fuzz::Input input = fuzz::Read(reader);
    fuzz::Modify(input);
    fuzz::Reboot(input);
    fuzz::Conversions(input);
    return 0;
}
