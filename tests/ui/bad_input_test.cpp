// Every kind of malformed reply a device (or anyone on the network) can send, and what each must
// lead to: which boxes are shown, what is listed, what the record and the panel hold. Nothing
// may crash, nothing may be stored beyond the 200 records, and no text may be read outside its
// field.
#include <optional>

#include "main_dialog_fixture.h"

namespace ui_test {
namespace {

struct Box {
    std::u16string text;
    std::u16string caption;
    bool operator==(const Box&) const = default;
};

// The bound strings of panel row 0 and of the DNS row once the line is selected.
struct Panel {
    std::u16string name, ip, mask, gateway, dns1, dns2;
};

struct BadInputCase {
    const char* name = "";
    std::vector<Bytes> datagrams = {};  // all from kDeviceAddress, in this order
    std::vector<Box> boxes = {};        // every box they show, in order; each is answered OK
    // The one line listed afterwards; nullopt: the list and the table are as they were.
    std::optional<std::u16string> line = std::nullopt;
    std::size_t nics = 0;                               // entries of the listed record
    std::optional<std::string> lastNic = std::nullopt;  // the name of its last entry
    std::optional<Panel> panel = std::nullopt;  // what selecting the line puts into the panel
    bool afterTableFull = false;                // 200 devices are listed first
};

constexpr std::size_t kInfo = 36;  // the device information block starts after the header

Bytes Resized(Bytes b, std::size_t size, std::uint8_t fill = 0) {
    b.resize(size, fill);
    return b;
}

Bytes WithByte(Bytes b, std::size_t at, std::uint8_t value) {
    b[at] = value;
    return b;
}

Bytes WithBe32(Bytes b, std::size_t at, std::uint32_t value) {
    PutBe32(b, at, value);
    return b;
}

DeviceReply Device(const std::string& serial) {
    DeviceReply d;
    d.serial = serial;
    return d;
}

std::u16string Line(const std::u16string& serial, const std::u16string& rest) {
    return u"1 IP:192.168.1.20 -->( 序列号:" + serial + rest;
}

const std::u16string kPlainRest =
    u"  名称:Lab-2  类型:T200  固件:1.2.0  软件:3.1.4  激活日期:2023-03-15  升级日期:2024-01-20 )";
const std::u16string kEmptyLine =
    Line(u"", u"  名称:  类型:  固件:  软件:  激活日期:  升级日期: )");

// Every text field filled to its width with no NUL, each followed by non-zero bytes: the
// next field, or for the last texts the DNS flag and the entry's opaque bytes.
Bytes UnterminatedTexts() {
    DeviceReply d;
    d.name = std::string(192, 'N');
    d.serial = std::string(32, 'S');
    d.type = std::string(32, 'T');
    d.activation = std::string(20, 'A');
    d.firmware = std::string(20, 'F');
    d.software = std::string(20, 'W');
    d.upgrade = std::string(20, 'U');
    d.dns1 = std::string(20, '1');
    d.dns2 = std::string(20, '2');
    d.nics = {Nic{std::string(20, 'n'), std::string(20, 'i'), std::string(20, 'm'),
                  std::string(20, 'g')}};
    std::memcpy(d.nics[0].opaque, "OOOO", 4);
    Bytes b = d.Encode(kSession);
    PutText(b, kInfo + 536, "DDDD");  // the DNS flag, never read
    return b;
}

std::u16string Repeated(char16_t c, std::size_t n) {
    return std::u16string(n, c);
}

// A type of 31 letters whose 32nd byte opens a double-byte character that the next field
// closes: the cut leaves each half alone, and each shows as '?'.
Bytes SplitCharacter() {
    DeviceReply d;
    d.type = std::string(31, 'T') + "\xCD";
    d.activation =
        "\xF8"
        "2023-03-15";
    return d.Encode(kSession);
}

// A type that starts with a double-byte code the code page leaves empty (a user-defined area),
// then "网关".
Bytes UnmappedCharacter() {
    DeviceReply d;
    d.type = "\xF8\xA1\xCD\xF8\xB9\xD8";
    return d.Encode(kSession);
}

// 737 whole entries fill the 65,536-byte receive buffer but for 60 bytes, which hold the start
// of a 738th; the count asks for 800.
Bytes FullReceiveBuffer() {
    DeviceReply d;
    for (int k = 0; k < 737; ++k) {
        d.nics.push_back(Nic{"E" + std::to_string(k), "10.0.0.1", "255.0.0.0", ""});
    }
    d.countOverride = 800;
    return Resized(d.Encode(kSession), 65536, 0xEE);
}

// The reply with its interface count field set to `count` (big-endian).
Bytes WithCount(Bytes reply, std::uint32_t count) {
    return WithBe32(std::move(reply), kInfo + 580, count);
}

// A device-information reply with one interface entry.
Bytes OneInterface() {
    DeviceReply d;
    d.nics = {Nic{"eth0", "1.2.3.4", "255.0.0.0", ""}};
    return d.Encode(kSession);
}

const Bytes kHeaderOnly = Header(0xF001, kSession, 36);
const Box kErrorBox{u"error_id", u"quorvel"};

class BadInputTest : public MainDialogFixture, public ::testing::WithParamInterface<BadInputCase> {
  protected:
    void FillTable() {
        for (int i = 0; i < 200; ++i) {
            network.QueueDatagram(Device("N" + std::to_string(i)).Encode(kSession),
                                  plat::testing::Ip(kDeviceAddress));
        }
        ASSERT_TRUE(
            session.PumpUntil([&] { return Lines().size() == 200; }, std::chrono::seconds(20)));
        Settle();
    }

    // The worker holds each box it shows until it is answered; it is done when it waits in its
    // receive again with nothing queued.
    void DeliverAnsweringBoxes(const Bytes& datagram) {
        network.QueueDatagram(datagram, plat::testing::Ip(kDeviceAddress));
        for (;;) {
            ASSERT_TRUE(session.PumpUntil([&] {
                return !win::headless::OpenMessageBoxes().empty() ||
                       network.WaitUntilReceiverIdle(std::chrono::milliseconds(0));
            }));
            const std::vector<HWND> open = win::headless::OpenMessageBoxes();
            if (open.empty()) {
                break;
            }
            ASSERT_TRUE(session.Answer(open.front(), IDOK));
        }
        Settle();
    }

    std::vector<Box> BoxesShown() const {
        std::vector<Box> boxes;
        for (const auto& shown : session.Shown()) {
            if (shown.messageBox) {
                boxes.push_back({shown.text, shown.caption});
            }
        }
        return boxes;
    }
};

TEST_P(BadInputTest, HasItsOutcome) {
    const BadInputCase& c = GetParam();
    static_assert(std::tuple_size_v<decltype(CQuorvelDlg::m_devices)> == 200);
    if (c.afterTableFull) {
        FillTable();
    }
    const std::vector<std::u16string> linesBefore = Lines();
    const protocol::DeviceTable tableBefore = dialog->m_devices;

    for (const Bytes& datagram : c.datagrams) {
        DeliverAnsweringBoxes(datagram);
    }

    EXPECT_EQ(BoxesShown(), c.boxes);
    EXPECT_TRUE(win::headless::OpenMessageBoxes().empty());
    if (!c.line) {
        EXPECT_EQ(Lines(), linesBefore);
        for (std::size_t i = 0; i < linesBefore.size(); ++i) {
            EXPECT_EQ(dialog->m_devices[i].info.bytes, tableBefore[i].info.bytes) << i;
            EXPECT_EQ(dialog->m_devices[i].nics.size(), tableBefore[i].nics.size()) << i;
        }
        return;
    }
    ASSERT_EQ(Lines(), std::vector<std::u16string>{*c.line})
        << (Lines().empty() ? std::string("(no line)") : plat::WideToUtf8(Lines()[0]));
    const protocol::CDeviceRecord& record = dialog->m_devices[0];
    EXPECT_EQ(record.nics.size(), c.nics);
    if (c.lastNic) {
        ASSERT_FALSE(record.nics.empty());
        EXPECT_EQ(record.nics.back().Name(), *c.lastNic);
    }
    if (c.panel) {
        Select(0);
        EXPECT_EQ(dialog->m_strName[0].Str(), c.panel->name);
        EXPECT_EQ(dialog->m_strIp[0].Str(), c.panel->ip);
        EXPECT_EQ(dialog->m_strMask[0].Str(), c.panel->mask);
        EXPECT_EQ(dialog->m_strGateway[0].Str(), c.panel->gateway);
        EXPECT_EQ(dialog->m_strDns1.Str(), c.panel->dns1);
        EXPECT_EQ(dialog->m_strDns2.Str(), c.panel->dns2);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, BadInputTest,
    ::testing::Values(
        BadInputCase{.name = "Empty", .datagrams = {Bytes{}}},
        BadInputCase{.name = "ThirtyFiveBytes", .datagrams = {Resized(kHeaderOnly, 35)}},
        BadInputCase{.name = "HeaderOnly", .datagrams = {kHeaderOnly}, .line = kEmptyLine},
        BadInputCase{.name = "ForeignSessionWithErrorCode",
                     .datagrams = {Device("X").Encode(kSession + 1, 9)}},
        BadInputCase{.name = "ErrorCodeAndWrongMagic",
                     .datagrams = {WithByte(Device("X").Encode(kSession, 9), 3, 'X')},
                     .boxes = {kErrorBox}},
        BadInputCase{.name = "ErrorCodeThenListed",
                     .datagrams = {Device("K7Q2X9").Encode(kSession, 1)},
                     .boxes = {kErrorBox},
                     .line = Line(u"K7Q2X9", kPlainRest)},
        BadInputCase{.name = "RequestCodes",
                     .datagrams = {WithBe32(Device("A").Encode(kSession), 20, 1),
                                   WithBe32(Device("B").Encode(kSession), 20, 2),
                                   WithBe32(Device("C").Encode(kSession), 20, 4)}},
        BadInputCase{.name = "UnknownCodes",
                     .datagrams = {WithBe32(Device("A").Encode(kSession), 20, 0),
                                   WithBe32(Device("B").Encode(kSession), 20, 0xF000),
                                   WithBe32(Device("C").Encode(kSession), 20, 0xF003),
                                   WithBe32(Device("D").Encode(kSession), 20, 0x1F001),
                                   WithBe32(Device("E").Encode(kSession), 20, 0xFFFFFFFF)}},
        BadInputCase{.name = "CountNegative",
                     .datagrams = {WithCount(OneInterface(), 0xFFFFFFFF)},
                     .line = Line(u"K7Q2X9", kPlainRest),
                     .nics = 0},
        BadInputCase{.name = "CountFarBeyondAShortDatagram",
                     .datagrams = {WithCount(OneInterface(), 0x7FFFFFFF)},
                     .line = Line(u"K7Q2X9", kPlainRest),
                     .nics = 737,
                     .lastNic = ""},
        BadInputCase{.name = "CountBeyondAFullReceiveBuffer",
                     .datagrams = {FullReceiveBuffer()},
                     .line = Line(u"K7Q2X9", kPlainRest),
                     .nics = 737,
                     .lastNic = "E736"},
        BadInputCase{
            .name = "TextsWithoutNul",
            .datagrams = {UnterminatedTexts()},
            .line = Line(Repeated(u'S', 32),
                         u"  名称:" + Repeated(u'N', 192) + u"  类型:" + Repeated(u'T', 32) +
                             u"  固件:" + Repeated(u'F', 20) + u"  软件:" + Repeated(u'W', 20) +
                             u"  激活日期:" + Repeated(u'A', 20) + u"  升级日期:" +
                             Repeated(u'U', 20) + u" )"),
            .nics = 1,
            .lastNic = std::string(20, 'n'),
            .panel = Panel{Repeated(u'n', 20), Repeated(u'i', 20), Repeated(u'm', 20),
                           Repeated(u'g', 20), Repeated(u'1', 20), Repeated(u'2', 20)}},
        BadInputCase{.name = "DoubleByteCharacterSplitByAFieldEnd",
                     .datagrams = {SplitCharacter()},
                     .line = Line(u"K7Q2X9", u"  名称:Lab-2  类型:" + Repeated(u'T', 31) +
                                                 u"?  固件:1.2.0  软件:3.1.4  激活日期:"
                                                 u"?2023-03-15  升级日期:2024-01-20 )")},
        BadInputCase{.name = "UnmappedDoubleByteCharacter",
                     .datagrams = {UnmappedCharacter()},
                     .line = Line(u"K7Q2X9",
                                  u"  名称:Lab-2  类型:?网关  固件:1.2.0  软件:3.1.4  "
                                  u"激活日期:2023-03-15  升级日期:2024-01-20 )")},
        BadInputCase{.name = "ResultTextWithoutNul",
                     .datagrams = {Resized(ResultReply(0xF002, kSession, "refused"), 36 + 7)},
                     .boxes = {{u"refused", u"修改失败"}}},
        BadInputCase{.name = "The201stDevice",
                     .datagrams = {Device("N200").Encode(kSession)},
                     .afterTableFull = true},
        BadInputCase{.name = "ADuplicateWhile200AreListed",
                     .datagrams = {Device("N5").Encode(kSession)},
                     .afterTableFull = true}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace ui_test
