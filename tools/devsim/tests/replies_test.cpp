#include "replies.h"

#include <gtest/gtest.h>

#include <string>

namespace devsim {
namespace {

Bytes Hex(const std::string& hex) {
    return ParseHex(hex).value();
}

Bytes Concat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

// "AABBCCDD_KAVRO", its NUL, one more zero byte, four reserved zero bytes.
const Bytes kMagicAndReserved =
    Hex("41414242434344445f4b4156524f0000"
        "00000000");

Bytes Request(const std::string& commandHex, const std::string& sessionHex, std::size_t payload) {
    Bytes out = Concat(
        {kMagicAndReserved, Hex(commandHex), Hex(sessionHex), Hex("00000000"), Hex("00000000")});
    out.resize(out.size() + payload, 0);
    return out;
}

void Place(Bytes& datagram, std::size_t offset, const std::string& text) {
    std::copy(text.begin(), text.end(), datagram.begin() + static_cast<std::ptrdiff_t>(offset));
}

DeviceConfig SampleDevice() {
    DeviceConfig d;
    d.address = 0xC633640A;  // 198.51.100.10
    for (std::size_t i = 0; i < d.leading.size(); ++i) {
        d.leading[i] = static_cast<std::uint8_t>(5 + i);
    }
    d.name = BytesOf("门禁");
    d.serial = BytesOf("SN-42");
    d.type = BytesOf("IPC-100");
    d.activationDate = BytesOf("2023-01-01");
    d.firmware = BytesOf("V1.2.3");
    d.software = BytesOf("V4.5.6");
    d.upgradeDate = BytesOf("2024-02-02");
    d.dnsFlag = {0, 0, 0, 1};
    d.dns1 = BytesOf("198.51.100.1");
    d.dns2 = BytesOf("0.0.0.0");
    d.nics.push_back({BytesOf("eth0"),
                      BytesOf("198.51.100.10"),
                      BytesOf("255.255.255.0"),
                      BytesOf("198.51.100.1"),
                      {0xDE, 0xAD, 0xBE, 0xEF},
                      {0, 0, 0, 0}});
    d.nics.push_back({BytesOf("wlan0"),
                      BytesOf("0.0.0.0"),
                      BytesOf("0.0.0.0"),
                      BytesOf("0.0.0.0"),
                      {1, 2, 3, 4},
                      {0, 0, 0, 1}});
    return d;
}

TEST(DeviceInfoReply, PutsEveryFieldWhereTheDeviceDescriptionHasIt) {
    const Bytes reply = DeviceInfoReply(SampleDevice(), 0xA1B2C3D4);
    ASSERT_EQ(reply.size(), 36u + 584u + 2u * 88u);

    // Header: magic, reserved, 0xF001, session echoed, payload 760 = 0x2F8, error 0.
    EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 36),
              Concat({kMagicAndReserved, Hex("0000f001"
                                             "a1b2c3d4"
                                             "000002f8"
                                             "00000000")}));

    struct Row {
        std::size_t offset;  // in the datagram
        std::size_t width;
        Bytes content;  // the rest of the field must be zero
    };
    Bytes leading;
    for (int i = 0; i < 200; ++i) {
        leading.push_back(static_cast<std::uint8_t>(5 + i));
    }
    const Row rows[] = {
        {36, 200, leading},
        {236, 192, Hex("e997a8e7a681")},  // 门禁 in UTF-8
        {428, 32, BytesOf("SN-42")},
        {460, 32, BytesOf("IPC-100")},
        {492, 20, BytesOf("2023-01-01")},
        {512, 20, BytesOf("V1.2.3")},
        {532, 20, BytesOf("V4.5.6")},
        {552, 20, BytesOf("2024-02-02")},
        {572, 4, Hex("00000001")},
        {576, 20, BytesOf("198.51.100.1")},
        {596, 20, BytesOf("0.0.0.0")},
        {616, 4, Hex("00000002")},
        {620, 20, BytesOf("eth0")},
        {640, 20, BytesOf("198.51.100.10")},
        {660, 20, BytesOf("255.255.255.0")},
        {680, 20, BytesOf("198.51.100.1")},
        {700, 4, Hex("deadbeef")},
        {704, 4, Hex("00000000")},
        {708, 20, BytesOf("wlan0")},
        {728, 20, BytesOf("0.0.0.0")},
        {748, 20, BytesOf("0.0.0.0")},
        {768, 20, BytesOf("0.0.0.0")},
        {788, 4, Hex("01020304")},
        {792, 4, Hex("00000001")},
    };
    std::size_t covered = 36;
    for (const Row& row : rows) {
        SCOPED_TRACE("datagram offset " + std::to_string(row.offset));
        EXPECT_EQ(row.offset, covered) << "rows must tile the reply";
        Bytes expected = row.content;
        expected.resize(row.width, 0);
        EXPECT_EQ(Bytes(reply.begin() + static_cast<std::ptrdiff_t>(row.offset),
                        reply.begin() + static_cast<std::ptrdiff_t>(row.offset + row.width)),
                  expected);
        covered = row.offset + row.width;
    }
    EXPECT_EQ(covered, reply.size());
}

TEST(DeviceInfoReply, CarriesAClaimedCountOtherThanTheEntriesSent) {
    DeviceConfig d = SampleDevice();
    d.nicCountField = -1;
    const Bytes reply = DeviceInfoReply(d, 1);
    EXPECT_EQ(reply.size(), 36u + 584u + 2u * 88u);
    EXPECT_EQ(Bytes(reply.begin() + 616, reply.begin() + 620), Hex("ffffffff"));
}

TEST(ReplyTo, AnswersOnlyWhatIsMeantForTheDevice) {
    struct Case {
        const char* what;
        Bytes request;
        bool answered;
        std::uint32_t replyCommand;
    };
    Bytes modifyForUs = Request("00000002", "0000abcd", 424);
    Place(modifyForUs, 36 + 232, "SN-42");
    Bytes modifyForOther = Request("00000002", "0000abcd", 424);
    Place(modifyForOther, 36 + 232, "SN-43");
    Bytes modifyPrefixOnly = Request("00000002", "0000abcd", 424);
    Place(modifyPrefixOnly, 36 + 232, "SN-4");
    Bytes modifyCutBeforeSerialEnds = Request("00000002", "0000abcd", 232 + 31);
    Place(modifyCutBeforeSerialEnds, 36 + 232, "SN-42");
    Bytes rebootForUs = Request("00000004", "0000abcd", 72);
    Place(rebootForUs, 36 + 40, "SN-42");
    Bytes rebootAtModifyOffset = Request("00000004", "0000abcd", 424);
    Place(rebootAtModifyOffset, 36 + 232, "SN-42");
    Bytes magicNotTerminated = Request("00000001", "0000abcd", 0);
    magicNotTerminated[14] = 'X';
    Bytes magicByte15Set = Request("00000001", "0000abcd", 0);
    magicByte15Set[15] = 0x7F;
    Bytes shortSearch = Request("00000001", "0000abcd", 0);
    shortSearch.pop_back();

    const Case cases[] = {
        {"search", Request("00000001", "0000abcd", 0), true, 0xF001},
        {"search, 35 bytes", shortSearch, false, 0},
        {"magic without its NUL", magicNotTerminated, false, 0},
        {"magic with byte 15 set", magicByte15Set, true, 0xF001},
        {"modify naming the device", modifyForUs, true, 0xF002},
        {"modify naming another", modifyForOther, false, 0},
        {"modify naming a prefix of the serial", modifyPrefixOnly, false, 0},
        {"modify cut inside the serial field", modifyCutBeforeSerialEnds, false, 0},
        {"reboot naming the device", rebootForUs, true, 0xF004},
        {"reboot with the serial where modify has it", rebootAtModifyOffset, false, 0},
        {"command 3", Request("00000003", "0000abcd", 72), false, 0},
        {"a reply", Request("0000f001", "0000abcd", 584), false, 0},
    };
    const DeviceConfig device = SampleDevice();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const auto reply = ReplyTo(device, c.request);
        ASSERT_EQ(reply.has_value(), c.answered);
        if (reply) {
            EXPECT_EQ(GetBigEndian32(*reply, 20), c.replyCommand);
            EXPECT_EQ(GetBigEndian32(*reply, 24), 0xABCDu) << "session id echoed";
            EXPECT_EQ(GetBigEndian32(*reply, 28), reply->size() - 36) << "payload length";
        }
    }
    DeviceConfig silent = device;
    silent.silent = true;
    EXPECT_FALSE(ReplyTo(silent, Request("00000001", "0000abcd", 0)));
}

TEST(ReplyTo, MatchesASerialThatFillsItsWholeField) {
    DeviceConfig device = SampleDevice();
    device.serial = Bytes(32, 'S');  // no NUL within the field
    Bytes reboot = Request("00000004", "00000001", 72);
    Place(reboot, 36 + 40, std::string(32, 'S'));
    EXPECT_TRUE(ReplyTo(device, reboot));
    Place(reboot, 36 + 40 + 31, "T");
    EXPECT_FALSE(ReplyTo(device, reboot));
}

TEST(ReplyTo, ResultRepliesCarryTheConfiguredTextAndErrorCode) {
    struct Case {
        const char* what;
        Bytes text;
        bool terminate;
        std::uint32_t errorCode;
        Bytes expectedPayload;
    };
    const Case cases[] = {
        {"success, terminated", {}, true, 0, Hex("00")},
        {"success, bare header", {}, false, 0, {}},
        {"GBK text", Hex("caa7b0dc"), true, 0, Hex("caa7b0dc00")},  // 失败
        {"text without NUL", BytesOf("bad"), false, 0, BytesOf("bad")},
        {"error code", {}, true, 7, Hex("00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DeviceConfig device = SampleDevice();
        device.modifyResult = c.text;
        device.rebootResult = c.text;
        device.terminateResult = c.terminate;
        device.errorCode = c.errorCode;
        Bytes modify = Request("00000002", "00000009", 424);
        Place(modify, 36 + 232, "SN-42");
        Bytes reboot = Request("00000004", "00000009", 72);
        Place(reboot, 36 + 40, "SN-42");
        for (const Bytes& request : {modify, reboot}) {
            const Bytes reply = ReplyTo(device, request).value();
            ASSERT_EQ(reply.size(), 36 + c.expectedPayload.size());
            EXPECT_EQ(Bytes(reply.begin(), reply.begin() + 16),
                      Bytes(kMagicAndReserved.begin(), kMagicAndReserved.begin() + 16));
            EXPECT_EQ(GetBigEndian32(reply, 28), c.expectedPayload.size());
            EXPECT_EQ(GetBigEndian32(reply, 32), c.errorCode);
            EXPECT_EQ(Bytes(reply.begin() + 36, reply.end()), c.expectedPayload);
        }
    }
}

}  // namespace
}  // namespace devsim
