#include "protocol/device_record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "byte_fixture.h"

namespace protocol_test {
namespace {

using namespace std::string_view_literals;
using protocol::CDeviceRecord;
using protocol::StoreOutcome;

// A device-information payload (what follows the header), at the block's literal offsets.
Bytes DevicePayload(std::string_view serial, std::uint32_t count) {
    Bytes payload(584, 0);
    for (std::size_t i = 0; i < 200; ++i) {
        payload[i] = static_cast<std::uint8_t>(i + 1);  // opaque block: stored, never read
    }
    Put(payload, 200, "Lab-2");
    Put(payload, 392, serial);
    Put(payload, 424, "T200");
    Put(payload, 456, "2023-03-15");
    Put(payload, 476, "1.2.0");
    Put(payload, 496, "3.1.4");
    Put(payload, 516, "2024-01-20");
    Put(payload, 536, "\x00\x00\x00\x01"sv);
    Put(payload, 540, "8.8.8.8");
    Put(payload, 560, "114.114.114.114");
    PutBe32(payload, 580, count);
    return payload;
}

void AppendEntry(Bytes& payload, std::string_view name, std::string_view ip,
                 std::string_view opaque, std::string_view flag) {
    const std::size_t entry = payload.size();
    payload.resize(entry + 88, 0);
    Put(payload, entry + 0, name);
    Put(payload, entry + 20, ip);
    Put(payload, entry + 40, "255.255.255.0");
    Put(payload, entry + 60, "192.168.1.1");
    Put(payload, entry + 80, opaque);
    Put(payload, entry + 84, flag);
}

Bytes TwoInterfacePayload(std::string_view serial) {
    Bytes payload = DevicePayload(serial, 2);
    AppendEntry(payload, "eth0", "192.168.1.20", "\xDE\xAD\xBE\xEF"sv, "\x00\x00\x00\x01"sv);
    AppendEntry(payload, "wlan0", "0.0.0.0", "\x01\x02\x03\x04"sv, "\x00\x00\x00\x00"sv);
    return payload;
}

TEST(DeviceInfo, FieldsAreReadFromTheirOffsets) {
    const Bytes payload = TwoInterfacePayload("K7Q2X9");
    CDeviceRecord record;
    protocol::StoreDeviceInfo(record, payload);

    EXPECT_EQ(Bytes(record.info.bytes.begin(), record.info.bytes.end()),
              Bytes(payload.begin(), payload.begin() + 584));
    EXPECT_EQ(record.info.Name(), "Lab-2");
    EXPECT_EQ(record.info.Serial(), "K7Q2X9");
    EXPECT_EQ(record.info.Type(), "T200");
    EXPECT_EQ(record.info.ActivationDate(), "2023-03-15");
    EXPECT_EQ(record.info.FirmwareVersion(), "1.2.0");
    EXPECT_EQ(record.info.SoftwareVersion(), "3.1.4");
    EXPECT_EQ(record.info.UpgradeDate(), "2024-01-20");
    EXPECT_EQ(record.info.PreferredDns(), "8.8.8.8");
    EXPECT_EQ(record.info.AlternateDns(), "114.114.114.114");
    EXPECT_EQ(record.info.InterfaceCount(), 2);
    EXPECT_TRUE(record.info.SerialIsTerminated());
    EXPECT_TRUE(record.nics.empty());  // the block alone; the list is filled separately
}

TEST(DeviceInfo, UnterminatedFieldIsCutAtItsWidthButStoredWhole) {
    Bytes payload = DevicePayload("", 0);
    Put(payload, 392, std::string(32, 'S'));
    Put(payload, 476, std::string(20, 'F'));  // runs straight into the software version
    CDeviceRecord record;
    protocol::StoreDeviceInfo(record, payload);

    EXPECT_EQ(record.info.Serial(), std::string(32, 'S'));
    EXPECT_FALSE(record.info.SerialIsTerminated());
    EXPECT_EQ(record.info.FirmwareVersion(), std::string(20, 'F'));
    EXPECT_EQ(record.info.SoftwareVersion(), "3.1.4");
    EXPECT_EQ(record.info.bytes[424], 'T');  // stored block keeps the following field intact
}

TEST(DeviceInfo, ShortPayloadReadsAsZeros) {
    for (const std::size_t length :
         {std::size_t{0}, std::size_t{1}, std::size_t{395}, std::size_t{583}}) {
        Bytes payload = TwoInterfacePayload("K7Q2X9");
        payload.resize(length);
        CDeviceRecord record;
        record.info.bytes.fill(0xAA);
        protocol::StoreDeviceInfo(record, payload);
        protocol::FillNicList(record, payload);

        for (std::size_t i = length; i < 584; ++i) {
            ASSERT_EQ(record.info.bytes[i], 0) << "length " << length << " byte " << i;
        }
        EXPECT_EQ(record.info.InterfaceCount(), 0) << length;
        EXPECT_TRUE(record.nics.empty()) << length;
    }
    Bytes cutInSerial = TwoInterfacePayload("K7Q2X9");
    cutInSerial.resize(395);
    CDeviceRecord record;
    protocol::StoreDeviceInfo(record, cutInSerial);
    EXPECT_EQ(record.info.Serial(), "K7Q");
    EXPECT_EQ(record.info.Type(), "");
}

TEST(NicEntry, ObtainAutomaticallyIsALittleEndianSignedValueAboveZero) {
    const struct {
        std::string_view bytes;
        bool set;
    } cases[] = {
        {"\x00\x00\x00\x01"sv, true},  {"\x01\x00\x00\x00"sv, true},  {"\x00\x00\x00\x00"sv, false},
        {"\x00\x00\x00\x80"sv, false}, {"\xFF\xFF\xFF\xFF"sv, false}, {"\xFF\xFF\xFF\x7F"sv, true},
    };
    for (const auto& c : cases) {
        protocol::NicEntry entry;
        for (std::size_t i = 0; i < 4; ++i) {
            entry.bytes[84 + i] = static_cast<std::uint8_t>(c.bytes[i]);
        }
        EXPECT_EQ(entry.ObtainsAutomatically(), c.set) << ::testing::PrintToString(c.bytes);
    }
}

TEST(NicList, EntriesFollowTheBlockInTheOrderSent) {
    const Bytes payload = TwoInterfacePayload("K7Q2X9");
    CDeviceRecord record;
    protocol::FillNicList(record, payload);

    ASSERT_EQ(record.nics.size(), 2u);
    EXPECT_EQ(Bytes(record.nics[0].bytes.begin(), record.nics[0].bytes.end()),
              Bytes(payload.begin() + 584, payload.begin() + 672));
    EXPECT_EQ(record.nics[0].Name(), "eth0");
    EXPECT_EQ(record.nics[0].Ip(), "192.168.1.20");
    EXPECT_EQ(record.nics[0].Mask(), "255.255.255.0");
    EXPECT_EQ(record.nics[0].Gateway(), "192.168.1.1");
    EXPECT_EQ(record.nics[0].OpaqueBytes(), (std::array<std::uint8_t, 4>{0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_TRUE(record.nics[0].ObtainsAutomatically());
    EXPECT_EQ(record.nics[1].Name(), "wlan0");
    EXPECT_EQ(record.nics[1].Ip(), "0.0.0.0");
    EXPECT_FALSE(record.nics[1].ObtainsAutomatically());
}

TEST(NicList, CountIsSignedAndCutToWhatTheReceiveBufferHolds) {
    const struct {
        std::uint32_t count;
        std::size_t entries;
    } cases[] = {
        {0, 0}, {0xFFFFFFFF, 0}, {0x80000000, 0}, {2, 2}, {737, 737}, {738, 737}, {0x7FFFFFFF, 737},
    };
    for (const auto& c : cases) {
        Bytes payload = DevicePayload("K7Q2X9", c.count);
        AppendEntry(payload, "eth0", "10.0.0.5", "\x11\x22\x33\x44"sv, "\x01\x00\x00\x00"sv);
        CDeviceRecord record;
        protocol::FillNicList(record, payload);

        ASSERT_EQ(record.nics.size(), c.entries) << std::hex << c.count;
        if (c.entries == 0) {
            continue;
        }
        EXPECT_EQ(record.nics[0].Ip(), "10.0.0.5");
        for (std::size_t k = 1; k < c.entries; ++k) {  // past the datagram: all zero
            const auto& bytes = record.nics[k].bytes;
            ASSERT_TRUE(
                std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b == 0; }))
                << "entry " << k;
        }
    }
}

TEST(NicList, RefillingKeepsTheListsStorage) {
    CDeviceRecord record;
    Bytes three = DevicePayload("A", 3);
    for (int i = 0; i < 3; ++i) {
        AppendEntry(three, "eth", "1.1.1.1", "abcd", "\x01\x00\x00\x00"sv);
    }
    protocol::FillNicList(record, three);
    const protocol::NicEntry* storage = record.nics.data();

    protocol::FillNicList(record, TwoInterfacePayload("B"));
    EXPECT_EQ(record.nics.size(), 2u);
    EXPECT_EQ(record.nics.data(), storage);
    EXPECT_EQ(record.nics[1].Name(), "wlan0");
}

class DeviceTableTest : public ::testing::Test {
  protected:
    std::unique_ptr<protocol::DeviceTable> table = std::make_unique<protocol::DeviceTable>();

    StoreOutcome Store(std::size_t lineCount, const Bytes& payload) {
        return protocol::StoreDeviceReply(*table, lineCount, payload);
    }
};

TEST_F(DeviceTableTest, NewSerialFillsTheRecordAtTheLineCount) {
    EXPECT_EQ(Store(0, TwoInterfacePayload("K7Q2X9")), StoreOutcome::kAdded);
    EXPECT_EQ((*table)[0].info.Serial(), "K7Q2X9");
    EXPECT_EQ((*table)[0].nics.size(), 2u);
}

TEST_F(DeviceTableTest, DuplicateSerialLeavesListedRecordsAndTheNextListAlone) {
    ASSERT_EQ(Store(0, TwoInterfacePayload("K7Q2X9")), StoreOutcome::kAdded);
    (*table)[1].nics.resize(5);  // what an earlier search left at index 1

    Bytes again = DevicePayload("K7Q2X9", 3);
    Put(again, 200, "Renamed");
    for (int i = 0; i < 3; ++i) {
        AppendEntry(again, "x", "2.2.2.2", "wxyz", "\x00\x00\x00\x00"sv);
    }
    EXPECT_EQ(Store(1, again), StoreOutcome::kDuplicate);
    EXPECT_EQ((*table)[0].info.Name(), "Lab-2");
    EXPECT_EQ((*table)[0].nics.size(), 2u);
    EXPECT_EQ((*table)[1].info.Name(), "Renamed");  // the block is copied before the test
    EXPECT_EQ((*table)[1].nics.size(), 5u);
}

TEST_F(DeviceTableTest, SerialComparisonIsExactAndBoundedToItsField) {
    const struct {
        std::string first;
        std::string second;
        StoreOutcome outcome;
    } cases[] = {
        {"K7Q2X9", "k7q2x9", StoreOutcome::kAdded},
        {"K7Q2X9", "K7Q2X9 ", StoreOutcome::kAdded},
        {"", "", StoreOutcome::kDuplicate},
        {std::string(32, 'S'), std::string(32, 'S'), StoreOutcome::kDuplicate},
    };
    for (const auto& c : cases) {
        ASSERT_EQ(Store(0, DevicePayload(c.first, 0)), StoreOutcome::kAdded);
        Bytes second = DevicePayload(c.second, 0);
        Put(second, 424, "OtherType");  // differs right after an unterminated serial
        EXPECT_EQ(Store(1, second), c.outcome) << "'" << c.first << "' vs '" << c.second << "'";
    }
}

TEST_F(DeviceTableTest, FullTableStoresNothing) {
    const Bytes payload = TwoInterfacePayload("NEW");
    (*table)[199].info.bytes.fill(0x5A);
    EXPECT_EQ(Store(200, payload), StoreOutcome::kTableFull);
    EXPECT_EQ(Store(1000, payload), StoreOutcome::kTableFull);
    EXPECT_EQ((*table)[199].info.bytes[0], 0x5A);
    EXPECT_EQ(Store(199, payload), StoreOutcome::kAdded);
}

}  // namespace
}  // namespace protocol_test
