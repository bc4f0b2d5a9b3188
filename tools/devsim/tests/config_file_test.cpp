#include "config_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace devsim {
namespace {

ConfigResult Parse(const std::string& text) {
    std::istringstream in(text);
    return ParseConfig(in);
}

TEST(ParseConfig, ReadsEveryKey) {
    const auto result = Parse(
        "# two devices\n"
        "\n"
        "device 198.51.100.10\n"
        "serial hex:" +
        std::string(64, '4') +
        "\n"  // 32 bytes '0x44', no room for a NUL
        "name Büro 1  \n"
        "type IPC\n"
        "firmware V1\n"
        "software V2\n"
        "activated 2023-01-01\n"
        "upgraded 2024-02-02\n"
        "dns-flag 01000000\n"
        "dns1 198.51.100.1\n"
        "dns2\n"
        "leading pattern 250\n"
        "nic eth0 198.51.100.10 255.255.255.0 198.51.100.1 deadbeef 00000001\n"
        "nic hex:c3fbb3c6 - - -\n"
        "nic-count -1\n"
        "modify-result hex:caa7b0dc\n"
        "reboot-result wrong password\n"
        "result-nul no\n"
        "error-code 7\n"
        "silent\n"
        "device 203.0.113.10\n");
    ASSERT_EQ(result.error, "");
    ASSERT_EQ(result.devices.size(), 2u);
    const DeviceConfig& d = result.devices[0];
    EXPECT_EQ(AddressText(d.address), "198.51.100.10");
    EXPECT_EQ(d.serial, Bytes(32, 0x44));
    EXPECT_EQ(d.name, BytesOf("Büro 1")) << "trailing blanks are cut";
    EXPECT_EQ(d.type, BytesOf("IPC"));
    EXPECT_EQ(d.firmware, BytesOf("V1"));
    EXPECT_EQ(d.software, BytesOf("V2"));
    EXPECT_EQ(d.activationDate, BytesOf("2023-01-01"));
    EXPECT_EQ(d.upgradeDate, BytesOf("2024-02-02"));
    EXPECT_EQ(d.dnsFlag, (std::array<std::uint8_t, 4>{1, 0, 0, 0}));
    EXPECT_EQ(d.dns1, BytesOf("198.51.100.1"));
    EXPECT_TRUE(d.dns2.empty());
    EXPECT_EQ(d.leading[0], 250);
    EXPECT_EQ(d.leading[6], 0) << "the pattern wraps at 256";
    ASSERT_EQ(d.nics.size(), 2u);
    EXPECT_EQ(d.nics[0].gateway, BytesOf("198.51.100.1"));
    EXPECT_EQ(d.nics[0].opaque, (std::array<std::uint8_t, 4>{0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_EQ(d.nics[0].flag, (std::array<std::uint8_t, 4>{0, 0, 0, 1}));
    EXPECT_EQ(d.nics[1].name, (Bytes{0xC3, 0xFB, 0xB3, 0xC6}));
    EXPECT_TRUE(d.nics[1].ip.empty());
    EXPECT_EQ(d.nics[1].flag, (std::array<std::uint8_t, 4>{}));
    EXPECT_EQ(d.nicCountField, -1);
    EXPECT_EQ(d.modifyResult, (Bytes{0xCA, 0xA7, 0xB0, 0xDC}));
    EXPECT_EQ(d.rebootResult, BytesOf("wrong password"));
    EXPECT_FALSE(d.terminateResult);
    EXPECT_EQ(d.errorCode, 7u);
    EXPECT_TRUE(d.silent);

    const DeviceConfig& plain = result.devices[1];
    EXPECT_TRUE(plain.terminateResult);
    EXPECT_FALSE(plain.silent);
    EXPECT_FALSE(plain.nicCountField);
    EXPECT_EQ(plain.leading, (std::array<std::uint8_t, 200>{}));
}

TEST(ParseConfig, RejectsWhatItCannotSendAsWritten) {
    struct Case {
        const char* text;
        const char* error;
    };
    const Case cases[] = {
        {"serial X\n", "line 1: 'serial' before the first device line"},
        {"device 198.51.100.10\nsize 3\n", "line 2: unknown key 'size'"},
        {"device 198.51.100.300\n", "line 1: device: want a dotted IPv4 address"},
        {"device 198.51.100.10\n\ndevice 198.51.100.10\n",
         "line 3: device 198.51.100.10 appears twice"},
        {"device 198.51.100.10\nserial 123456789012345678901234567890123\n",
         "line 2: serial: 33 bytes, field holds 32"},
        {"device 198.51.100.10\nfirmware hex:4g\n", "line 2: firmware: bad hex"},
        {"device 198.51.100.10\ndns-flag 0001\n", "line 2: dns-flag: want 8 hex digits"},
        {"device 198.51.100.10\nnic eth0 1.2.3.4 255.0.0.0\n",
         "line 2: nic: want NAME IP MASK GATEWAY [OPAQUE [FLAG]]"},
        {"device 198.51.100.10\nnic eth0 1.2.3.4 255.0.0.0 - 0 0\n",
         "line 2: nic opaque: want 8 hex digits"},
        {"device 198.51.100.10\nnic-count two\n", "line 2: nic-count: not a number"},
        {"device 198.51.100.10\nresult-nul maybe\n", "line 2: result-nul: want yes or no"},
        {"device 198.51.100.10\nleading ones\n",
         "line 2: leading: want pattern [SEED], zero or hex:..."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto result = Parse(c.text);
        EXPECT_EQ(result.error, c.error);
        EXPECT_TRUE(result.devices.empty());
    }
}

TEST(GenerateDevices, NumbersAddressesAndSerialsFromTheFirst) {
    const auto devices = GenerateDevices(200);
    ASSERT_EQ(devices.size(), 200u);
    EXPECT_EQ(AddressText(devices.front().address), "198.51.100.10");
    EXPECT_EQ(AddressText(devices.back().address), "198.51.100.209");
    EXPECT_EQ(devices.front().serial, BytesOf("SIM0001"));
    EXPECT_EQ(devices.back().serial, BytesOf("SIM0200"));
    for (const auto& d : devices) {
        ASSERT_EQ(d.nics.size(), 3u);
        EXPECT_EQ(d.nics[0].ip, BytesOf(AddressText(d.address)));
    }
    EXPECT_EQ(GenerateDevices(kMaxGenerated + 5).size(), static_cast<std::size_t>(kMaxGenerated));
}

}  // namespace
}  // namespace devsim
