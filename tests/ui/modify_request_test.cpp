// "修改": the modify request byte for byte, written here from its wire table, and the ways the
// press ends before anything is sent.
#include <array>

#include "request_fixture.h"

namespace ui_test {
namespace {

using win::input::Key;

// Interface entry k of the request, at datagram offset 460 + 88k. Texts in code page 936.
struct ExpectedEntry {
    std::string name, ip, mask, gateway;
    std::array<std::uint8_t, 4> opaque{};
    std::uint32_t flag = 0;
};

// The modify request: header (command 2), user name at 36, password at 56, the 336 identity
// bytes at 76, DNS flag at 412, DNS texts at 416 and 436, the count at 456, entries from 460.
struct ExpectedModify {
    std::string user = "admin";
    std::string password = "secret";
    Bytes identity;
    std::uint32_t dnsFlag = 0;
    std::string dns1 = "8.8.8.8";
    std::string dns2 = "8.8.4.4";
    std::vector<ExpectedEntry> entries;

    Bytes Encode() const {
        Bytes b = Header(2, kSession, 460 + 88 * entries.size());
        PutText(b, 36, user);
        PutText(b, 56, password);
        std::copy(identity.begin(), identity.end(), b.begin() + 76);
        PutBe32(b, 412, dnsFlag);
        PutText(b, 416, dns1);
        PutText(b, 436, dns2);
        PutBe32(b, 456, static_cast<std::uint32_t>(entries.size()));
        for (std::size_t k = 0; k < entries.size(); ++k) {
            const std::size_t e = 460 + 88 * k;
            PutText(b, e, entries[k].name);
            PutText(b, e + 20, entries[k].ip);
            PutText(b, e + 40, entries[k].mask);
            PutText(b, e + 60, entries[k].gateway);
            std::copy(entries[k].opaque.begin(), entries[k].opaque.end(), b.begin() + e + 80);
            PutBe32(b, e + 84, entries[k].flag);
        }
        return b;
    }
};

// Bytes 200 to 535 of a device-information reply's block: datagram bytes 236 to 571.
Bytes IdentityOf(const Bytes& reply) {
    return Bytes(reply.begin() + 236, reply.begin() + 572);
}

ExpectedEntry AsSent(const Nic& nic, std::uint32_t flag = 0) {
    ExpectedEntry e{nic.name, nic.ip, nic.mask, nic.gateway, {}, flag};
    std::copy(std::begin(nic.opaque), std::end(nic.opaque), e.opaque.begin());
    return e;
}

const Nic kA{"eth0", "192.168.1.20", "255.255.255.0", "192.168.1.1", {1, 2, 3, 4}, {}};
const Nic kB{"eth1", "10.0.0.2", "255.0.0.0", "10.0.0.1", {5, 6, 7, 8}, {0, 0, 0, 1}};
const Nic kC{"wlan0", "172.16.0.9", "255.255.0.0", "172.16.0.1", {9, 10, 11, 12}, {}};

class ModifyRequestTest : public RequestFixture {
  protected:
    // Lists and selects the device, presses "修改" with these credentials, and returns the
    // request; the reply is kept for its identity bytes.
    Bytes Modify(const std::u16string& user = u"admin",
                 const std::u16string& password = u"secret") {
        AnswerCredentials(user, password);
        Click(IDC_MODIFY);
        return SentRequest();
    }
    Bytes ListAndSelect(const DeviceReply& device) {
        const Bytes reply = device.Encode(kSession);
        AddAndSelect(device);
        return reply;
    }
};

struct CountCase {
    const char* name;
    std::vector<Nic> nics;
    std::size_t size;
    std::uint8_t payloadLength[4];
};

class ModifyEntryCountTest : public ModifyRequestTest,
                             public ::testing::WithParamInterface<CountCase> {};

TEST_P(ModifyEntryCountTest, CarriesTheRowsUpToTheLastNamedOne) {
    const CountCase& c = GetParam();
    DeviceReply device;
    device.nics = c.nics;
    const Bytes reply = ListAndSelect(device);
    dialog->m_bResultShown = 1;

    const Bytes request = Modify();

    ExpectedModify expected;
    expected.identity = IdentityOf(reply);
    for (const Nic& nic : c.nics) {
        expected.entries.push_back(AsSent(nic));
    }
    EXPECT_TRUE(SameBytes(expected.Encode(), request));
    ASSERT_EQ(request.size(), c.size);
    EXPECT_TRUE(std::equal(request.begin() + 28, request.begin() + 32, c.payloadLength));
    EXPECT_EQ(dialog->m_bResultShown.load(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ModifyEntryCountTest,
    ::testing::Values(
        CountCase{"NoRowNamed", {}, 460, {0, 0, 0x01, 0xA8}},
        CountCase{"RowZeroNamed", {kA}, 548, {0, 0, 0x02, 0x00}},
        // Rows 0 and 1 go along with whatever they hold; an empty row as all-zero fields.
        CountCase{"OnlyRowTwoNamed",
                  {Nic{"", "10.0.0.2", "255.0.0.0", "", {7, 7, 7, 7}, {}}, Nic{}, kC},
                  724,
                  {0, 0, 0x02, 0xB0}}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(ModifyRequestTest, TheBoxesAreSentAsCheckedWithTheTextsTheRowsHold) {
    DeviceReply device;
    device.nics = {kA, kB, kC};
    const Bytes reply = ListAndSelect(device);
    Click(IDC_AUTO1);                   // row 0: manual -> automatic
    Click(IDC_AUTO1 + IDC_ROW_STRIDE);  // row 1: the device's automatic -> manual
    Click(IDC_DNS_AUTO);

    ExpectedModify expected;
    expected.identity = IdentityOf(reply);
    expected.dnsFlag = 1;
    expected.entries = {AsSent(kA, 1), AsSent(kB, 0), AsSent(kC, 0)};
    const Bytes request = Modify();
    EXPECT_TRUE(SameBytes(expected.Encode(), request));
    ASSERT_EQ(request.size(), 724u);
    EXPECT_EQ((Bytes{request.begin() + 412, request.begin() + 416}), (Bytes{0, 0, 0, 1}));
    EXPECT_EQ((Bytes{request.begin() + 544, request.begin() + 548}), (Bytes{0, 0, 0, 1}));
}

TEST_F(ModifyRequestTest, CredentialsOfNineteenBytesEndAtTheLastByteOfTheirFields) {
    const Bytes reply = ListAndSelect(DeviceReply{});
    ExpectedModify expected;
    expected.identity = IdentityOf(reply);
    expected.user = "abcdefghijklmnopqrs";
    // 密码 x4, 密, x: C3 DC C2 EB four times, C3 DC, 'x'.
    expected.password = "\xC3\xDC\xC2\xEB\xC3\xDC\xC2\xEB\xC3\xDC\xC2\xEB\xC3\xDC\xC2\xEB\xC3\xDCx";
    const Bytes request = Modify(u"abcdefghijklmnopqrs", u"密码密码密码密码密x");
    EXPECT_TRUE(SameBytes(expected.Encode(), request));
    ASSERT_EQ(request.size(), 460u);
    EXPECT_EQ(request[54], 's');
    EXPECT_EQ(request[55], 0);
    EXPECT_EQ(request[74], 'x');
    EXPECT_EQ(request[75], 0);
}

TEST_F(ModifyRequestTest, TheIdentityBytesAreEchoedAsReceivedJunkAndUtf8Included) {
    DeviceReply device;
    device.name = std::string("机房-2\0old name", 17);  // UTF-8, then bytes after the NUL
    device.serial = std::string("K7Q2X9\0\xFF\xFE", 9);
    device.type = std::string("T200\0\x01\x02\x03", 8);
    Bytes reply = device.Encode(kSession);
    // The upgrade date runs to the last byte of its field, datagram byte 571.
    PutText(reply, 552, "2024-01-20+junk-AB\x7F\x80");
    Deliver(reply);
    Select(0);

    ExpectedModify expected;
    expected.identity = IdentityOf(reply);
    const Bytes request = Modify();
    EXPECT_TRUE(SameBytes(expected.Encode(), request));
    ASSERT_EQ(request.size(), 460u);
    const Bytes utf8Name = {0xE6, 0x9C, 0xBA, 0xE6, 0x88, 0xBF, '-', '2', 0, 'o'};
    EXPECT_EQ((Bytes{request.begin() + 76, request.begin() + 86}), utf8Name);
    EXPECT_EQ(request[411], 0x80);
}

TEST_F(ModifyRequestTest, OpaqueBytesComeFromTheDevicesEntryKOrAreZero) {
    // Four entries: the panel skips the unset one, so row k shows a later entry than k.
    const Nic unset{"eth9", "0.0.0.0", "0.0.0.0", "0.0.0.0", {0xA1, 0xA2, 0xA3, 0xA4}, {}};
    DeviceReply four;
    four.serial = "FOUR";
    four.nics = {unset, kA, kB, kC};
    const Bytes fourReply = ListAndSelect(four);

    ExpectedModify expected;
    expected.identity = IdentityOf(fourReply);
    expected.entries = {AsSent(kA), AsSent(kB, 1), AsSent(kC)};
    expected.entries[0].opaque = {0xA1, 0xA2, 0xA3, 0xA4};
    expected.entries[1].opaque = {1, 2, 3, 4};
    expected.entries[2].opaque = {5, 6, 7, 8};
    EXPECT_TRUE(SameBytes(expected.Encode(), Modify()));

    // One entry: rows 1 and 2 keep the first device's texts, and this device has no entry there.
    const Nic own{"lan", "10.1.1.1", "255.255.255.0", "10.1.1.254", {0xB1, 0xB2, 0xB3, 0xB4}, {}};
    DeviceReply one;
    one.serial = "ONE";
    one.nics = {own};
    const Bytes oneReply = ListAndSelect(one);

    expected.identity = IdentityOf(oneReply);
    expected.entries = {AsSent(own), AsSent(kB, 1), AsSent(kC)};
    expected.entries[1].opaque = {};
    expected.entries[2].opaque = {};
    EXPECT_TRUE(SameBytes(expected.Encode(), Modify()));
}

// Interface names come from the device, which may fill all 20 bytes of the field: the request
// carries at most 19 of them, never half of a two-byte character.
struct NameCutCase {
    const char* name;
    std::string field;  // the 20 bytes of the name field, no NUL
    std::string sent;
};

class InterfaceNameCutTest : public ModifyRequestTest,
                             public ::testing::WithParamInterface<NameCutCase> {};

TEST_P(InterfaceNameCutTest, AFullNameFieldIsCutTo19Bytes) {
    DeviceReply device;
    device.nics = {Nic{"", "192.168.1.20", "255.255.255.0", "", {}, {}}};
    Bytes reply = device.Encode(kSession);
    ASSERT_EQ(GetParam().field.size(), 20u);
    PutText(reply, 620, GetParam().field);
    Deliver(reply);
    Select(0);

    ExpectedModify expected;
    expected.identity = IdentityOf(reply);
    expected.entries = {ExpectedEntry{GetParam().sent, "192.168.1.20", "255.255.255.0", ""}};
    EXPECT_TRUE(SameBytes(expected.Encode(), Modify()));
}

INSTANTIATE_TEST_SUITE_P(
    Names, InterfaceNameCutTest,
    ::testing::Values(NameCutCase{"Ascii", "NNNNNNNNNNNNNNNNNNNN", "NNNNNNNNNNNNNNNNNNN"},
                      // 网 (CD F8) at bytes 18 and 19 does not fit before the terminator.
                      NameCutCase{"GbkPairAtTheCut", "NNNNNNNNNNNNNNNNNN\xCD\xF8",
                                  "NNNNNNNNNNNNNNNNNN"}),
    [](const auto& param) { return std::string(param.param.name); });

struct EarlyEndCase {
    const char* name;
    bool select;
    void (*cancel)(win::headless::Script& credentials);  // null: no credential dialog
};

class ModifyEarlyEndTest : public ModifyRequestTest,
                           public ::testing::WithParamInterface<EarlyEndCase> {};

TEST_P(ModifyEarlyEndTest, SendsNothingAndClearsTheResultFlag) {
    const EarlyEndCase& c = GetParam();
    Deliver(DeviceReply{}.Encode(kSession));
    if (c.select) {
        Select(0);
    }
    if (c.cancel != nullptr) {
        c.cancel(session.ExpectDialog(kCredentialCaption).Type(IDC_USERNAME, u"admin"));
    } else {
        session.ExpectBox(kSelectFirst, kAppCaption).Answer(IDOK);
    }
    dialog->m_bResultShown = 1;
    Click(IDC_MODIFY);
    EXPECT_EQ(network.SentCount(), 0u);
    EXPECT_EQ(dialog->m_bResultShown.load(), 0);
    EXPECT_EQ(BoxesShown(), c.cancel != nullptr ? 0 : 1);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, ModifyEarlyEndTest,
    ::testing::Values(EarlyEndCase{"NoSelection", false, nullptr},
                      EarlyEndCase{"CredentialsCancelled", true,
                                   [](win::headless::Script& s) { s.Click(IDCANCEL); }},
                      EarlyEndCase{"CredentialsEscaped", true,
                                   [](win::headless::Script& s) { s.Press(Key::Escape); }}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace ui_test
