#include "protocol/modify_request.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "byte_fixture.h"

namespace protocol_test {
namespace {

using namespace std::string_view_literals;
using protocol::NicRow;

constexpr std::uint32_t kSession = 0x0A0B0C0D;

// A selected device whose identity fields carry junk after their terminators, whose other
// bytes must not be echoed, and whose two interfaces carry distinct opaque bytes.
protocol::CDeviceRecord SelectedRecord() {
    protocol::CDeviceRecord record;
    auto& bytes = record.info.bytes;
    for (std::size_t i = 0; i < 584; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i < 200 || i >= 536 ? 0xCC : (i * 7 + 3) & 0xFF);
    }
    const auto put = [&bytes](std::size_t offset, std::string_view text) {
        for (std::size_t i = 0; i <= text.size(); ++i) {
            bytes[offset + i] = i < text.size() ? static_cast<std::uint8_t>(text[i]) : 0;
        }
    };
    put(200, "\xE5\xAE\x9E\xE9\xAA\x8C-2");  // UTF-8 name, echoed unconverted
    put(392, "K7Q2X9");
    put(424, "T200");
    put(456, "2023-03-15");
    put(476, "1.2.0");
    put(496, "3.1.4");
    put(516, "2024-01-20");
    record.nics.resize(2);
    record.nics[0].bytes.fill(0x11);
    record.nics[1].bytes.fill(0x22);
    for (std::size_t i = 0; i < 4; ++i) {
        record.nics[0].bytes[80 + i] = static_cast<std::uint8_t>(0xA1 + i);
        record.nics[1].bytes[80 + i] = static_cast<std::uint8_t>(0xB1 + i);
    }
    return record;
}

const protocol::Credentials kNineteenByteCredentials{"abcdefghijklmnopqrs", "0123456789012345678"};
const protocol::DnsSettings kDns{1, "8.8.8.8", "114.114.114.114"};

// Header, credentials, identity, DNS row and count, at the request's literal offsets.
Bytes ExpectedWithoutEntries(std::size_t entries, const protocol::CDeviceRecord& record) {
    Bytes expected = ExpectedRequestHeader(460 + 88 * entries, 2, kSession);
    Put(expected, 36, kNineteenByteCredentials.userName);
    Put(expected, 56, kNineteenByteCredentials.password);
    for (std::size_t i = 0; i < 336; ++i) {
        expected[76 + i] = record.info.bytes[200 + i];
    }
    PutBe32(expected, 412, 1);
    Put(expected, 416, "8.8.8.8");
    Put(expected, 436, "114.114.114.114");
    PutBe32(expected, 456, static_cast<std::uint32_t>(entries));
    return expected;
}

void ExpectBytes(const Bytes& actual, const Bytes& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    EXPECT_EQ(DifferingOffsets(actual, expected), std::vector<std::size_t>{});
}

TEST(ModifyRequest, NoRowsNamedStillSendsTheIdentityAndDns) {
    const auto record = SelectedRecord();
    const Bytes request =
        protocol::BuildModifyRequest(kSession, kNineteenByteCredentials, record, kDns, {});
    ExpectBytes(request, ExpectedWithoutEntries(0, record));
    EXPECT_EQ(Bytes(request.begin() + 28, request.begin() + 32), (Bytes{0x00, 0x00, 0x01, 0xA8}));
    EXPECT_EQ(request[55], 0);  // 19-byte user name: its zero at the field's last byte
    EXPECT_EQ(request[75], 0);
}

TEST(ModifyRequest, OneRowCarriesItsTextsTheDevicesOpaqueBytesAndItsFlag) {
    const auto record = SelectedRecord();
    const NicRow rows[] = {{"eth0", "192.168.1.20", "255.255.255.0", "192.168.1.1", 1}};
    const Bytes request =
        protocol::BuildModifyRequest(kSession, kNineteenByteCredentials, record, kDns, rows);

    Bytes expected = ExpectedWithoutEntries(1, record);
    Put(expected, 460, "eth0");
    Put(expected, 480, "192.168.1.20");
    Put(expected, 500, "255.255.255.0");
    Put(expected, 520, "192.168.1.1");
    Put(expected, 540, "\xA1\xA2\xA3\xA4");
    Put(expected, 544, "\x00\x00\x00\x01"sv);
    ExpectBytes(request, expected);
    EXPECT_EQ(Bytes(request.begin() + 28, request.begin() + 32), (Bytes{0x00, 0x00, 0x02, 0x00}));
}

TEST(ModifyRequest, OnlyTheLastRowNamedSendsAllThreeRows) {
    const auto record = SelectedRecord();  // two interfaces: entry 2 has no opaque bytes
    const NicRow rows[] = {
        {"", "10.0.0.9", "", "", 1},
        {"", "", "", "", 0},
        {"wlan0", "172.16.0.2", "255.255.0.0", "172.16.0.1", 0},
    };
    const Bytes request =
        protocol::BuildModifyRequest(kSession, kNineteenByteCredentials, record, kDns, rows);

    Bytes expected = ExpectedWithoutEntries(3, record);
    Put(expected, 480, "10.0.0.9");
    Put(expected, 540, "\xA1\xA2\xA3\xA4");
    Put(expected, 544, "\x00\x00\x00\x01"sv);
    Put(expected, 628, "\xB1\xB2\xB3\xB4");
    Put(expected, 636, "wlan0");
    Put(expected, 656, "172.16.0.2");
    Put(expected, 676, "255.255.0.0");
    Put(expected, 696, "172.16.0.1");
    ExpectBytes(request, expected);
    EXPECT_EQ(Bytes(request.begin() + 28, request.begin() + 32), (Bytes{0x00, 0x00, 0x02, 0xB0}));
}

TEST(ModifyRequest, OverlongTextsAreCutInsideTheirFields) {
    const auto record = SelectedRecord();
    const protocol::Credentials tooLong{std::string(25, 'u'), std::string(40, 'p')};
    std::string gbkName;  // ten double-byte characters: 20 bytes
    for (int i = 0; i < 10; ++i) {
        gbkName += "\xD0\xF2";
    }
    const NicRow rows[] = {{gbkName, std::string(30, '1'), "", "", 0},
                           {"b", "", "", "", 0},
                           {"c", "", "", "", 0},
                           {"fourth row", "", "", "", 1}};
    const Bytes request = protocol::BuildModifyRequest(kSession, tooLong, record, kDns, rows);

    ASSERT_EQ(request.size(), 724u);  // a fourth row is never sent
    EXPECT_EQ(std::string(request.begin() + 36, request.begin() + 56), std::string(19, 'u') + '\0');
    EXPECT_EQ(request[56], 'p');
    EXPECT_EQ(request[75], 0);
    EXPECT_EQ(request[76], record.info.bytes[200]);
    // The name loses its last character whole: 18 bytes, then zeros.
    EXPECT_EQ(std::string(request.begin() + 460, request.begin() + 480),
              gbkName.substr(0, 18) + std::string(2, '\0'));
    EXPECT_EQ(request[499], 0);  // the IP text keeps its terminator too
    EXPECT_EQ(request[480], '1');
}

TEST(ModifyRequest, EntryCountFollowsTheHighestNamedRow) {
    const struct {
        std::array<bool, 3> named;
        std::size_t count;
    } cases[] = {
        {{false, false, false}, 0}, {{true, false, false}, 1}, {{false, true, false}, 2},
        {{false, false, true}, 3},  {{true, false, true}, 3},  {{true, true, true}, 3},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(protocol::ModifyEntryCount(c.named), c.count)
            << c.named[0] << c.named[1] << c.named[2];
    }
}

}  // namespace
}  // namespace protocol_test
