// The receive step: the order of its checks, the error box, and the result boxes.
#include <optional>

#include "main_dialog_fixture.h"

namespace ui_test {
namespace {

const std::u16string kEmptyLine =
    u"1 IP:10.0.0.5 -->( 序列号:  名称:  类型:  固件:  软件:  激活日期:  升级日期: )";

Bytes Resized(Bytes b, std::size_t size) {
    b.resize(size, 0);
    return b;
}

Bytes WithByte(Bytes b, std::size_t at, std::uint8_t value) {
    b[at] = value;
    return b;
}

struct ReceiveCase {
    const char* name;
    Bytes datagram;
    bool showsErrorBox;
    bool addsLine;
};

void PrintTo(const ReceiveCase& c, std::ostream* os) {
    *os << c.name;
}

class ReceiveStepTest : public MainDialogFixture,
                        public ::testing::WithParamInterface<ReceiveCase> {};

TEST_P(ReceiveStepTest, ChecksInOrder) {
    const ReceiveCase& c = GetParam();
    output.Clear();
    network.QueueDatagram(c.datagram, plat::testing::Ip("10.0.0.5"));
    if (c.showsErrorBox) {
        const HWND box = session.WaitForBox();
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(win::headless::BoxText(box), u"error_id");
        EXPECT_EQ(win::headless::Caption(box), u"quorvel");
        EXPECT_TRUE(Lines().empty()) << "the datagram goes on only after the box is dismissed";
        session.Answer(box, IDOK);
    }
    Settle();
    EXPECT_EQ(static_cast<int>(win::headless::OpenMessageBoxes().size()), 0);
    int boxes = 0;
    for (const auto& shown : session.Shown()) {
        boxes += shown.messageBox ? 1 : 0;
    }
    EXPECT_EQ(boxes, c.showsErrorBox ? 1 : 0);
    if (c.addsLine) {
        EXPECT_EQ(Lines(), std::vector<std::u16string>{kEmptyLine});
    } else {
        EXPECT_TRUE(Lines().empty());
    }
    EXPECT_EQ(output.Debugger() + output.StandardOutput(), "") << "no check leaves a trace";
}

const Bytes kInfo = Header(0xF001, kSession, 36);

INSTANTIATE_TEST_SUITE_P(
    Datagrams, ReceiveStepTest,
    ::testing::Values(ReceiveCase{"Empty", Bytes{}, false, false},
                      ReceiveCase{"ThirtyFiveBytes", Resized(kInfo, 35), false, false},
                      ReceiveCase{"HeaderOnlyDeviceInfo", kInfo, false, true},
                      ReceiveCase{"ForeignSession", Header(0xF001, kSession + 1, 36), false, false},
                      ReceiveCase{"ForeignSessionWithErrorCode",
                                  Header(0xF001, kSession + 1, 36, 7), false, false},
                      ReceiveCase{"ErrorCodeWrongMagic",
                                  WithByte(Header(0xF001, kSession, 36, 7), 0, 'X'), true, false},
                      ReceiveCase{"ErrorCodeThenDeviceAdded", Header(0xF001, kSession, 36, 7), true,
                                  true},
                      ReceiveCase{"Byte14NotNul", WithByte(kInfo, 14, 'Z'), false, false},
                      ReceiveCase{"Byte15Ignored", WithByte(kInfo, 15, 0x7F), false, true},
                      ReceiveCase{"ReservedAndLengthIgnored",
                                  WithByte(WithByte(kInfo, 17, 0xEE), 31, 0x99), false, true},
                      ReceiveCase{"SearchRequestCode", Header(1, kSession, 36), false, false},
                      ReceiveCase{"ModifyRequestCode", Header(2, kSession, 36), false, false},
                      ReceiveCase{"RebootRequestCode", Header(4, kSession, 36), false, false},
                      ReceiveCase{"NoSuchReply", Header(0xF003, kSession, 36), false, false},
                      ReceiveCase{"HighBitsSet", Header(0x1F001, kSession, 36), false, false}),
    [](const auto& param) { return std::string(param.param.name); });

using ReceiveLoopTest = MainDialogFixture;

TEST_F(ReceiveLoopTest, AFailedReceiveIsFollowedByTheNextOne) {
    output.Clear();
    network.QueueReceiveError(plat::WSAENETDOWN);
    Deliver(kInfo, "10.0.0.5");
    EXPECT_EQ(Lines(), std::vector<std::u16string>{kEmptyLine});
    EXPECT_EQ(output.Debugger() + output.StandardOutput(), "") << "the failure is not logged";
}

// The result boxes: no owner, their own captions, device texts shown as they arrive.
struct ResultCase {
    const char* name;
    std::uint32_t command;
    const char16_t* deviceText;  // sent in code page 936
    const char16_t* body;
    const char16_t* caption;
};

void PrintTo(const ResultCase& c, std::ostream* os) {
    *os << c.name;
}

class ResultBoxTest : public MainDialogFixture, public ::testing::WithParamInterface<ResultCase> {};

TEST_P(ResultBoxTest, ShowsTheBoxAndSetsTheFlagOnlyWhenItIsDismissed) {
    const ResultCase& c = GetParam();
    network.QueueDatagram(ResultReply(c.command, kSession, plat::WideToAnsiString(c.deviceText)),
                          plat::testing::Ip(kDeviceAddress));
    const HWND box = session.WaitForBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(win::headless::BoxText(box), c.body);
    EXPECT_EQ(win::headless::Caption(box), c.caption);
    EXPECT_EQ(win::GetParent(box), nullptr) << "result boxes have no owner";
    EXPECT_TRUE(win::IsWindowEnabled(hwnd)) << "the main window stays usable";
    EXPECT_EQ(dialog->m_bResultShown.load(), 0);
    session.Answer(box, IDOK);
    Settle();
    EXPECT_EQ(dialog->m_bResultShown.load(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, ResultBoxTest,
    ::testing::Values(ResultCase{"ModifyFailed", 0xF002, u"密码错误 #3", u"密码错误 #3",
                                 u"修改失败"},
                      ResultCase{"ModifyDone", 0xF002, u"", u"IP已修改，请重启设备", u"提示"},
                      ResultCase{"RebootRefused", 0xF004, u"拒绝", u"拒绝", u"用戶名或密码错误"},
                      ResultCase{"Rebooting", 0xF004, u"", u"设备正在重启设备。。。", u"提示"}),
    [](const auto& param) { return std::string(param.param.name); });

using ResultFlagTest = MainDialogFixture;

TEST_F(ResultFlagTest, OnlyTheFirstResultOfEitherKindShowsABoxUntilTheNextRequest) {
    EXPECT_TRUE(ResultShowsBox(0xF002));
    EXPECT_FALSE(ResultShowsBox(0xF002));
    EXPECT_FALSE(ResultShowsBox(0xF004)) << "one flag for both kinds";

    Deliver(DeviceReply{}.Encode(kSession));
    EXPECT_EQ(Lines().size(), 1u) << "device replies are added while the flag is set";

    Click(IDC_SEARCH);
    EXPECT_TRUE(ResultShowsBox(0xF004)) << "a search clears the flag";
    EXPECT_FALSE(ResultShowsBox(0xF002));
}

TEST_F(ResultFlagTest, ASearchWhileABoxIsOpenIsUndoneWhenTheBoxCloses) {
    network.QueueDatagram(ResultReply(0xF002, kSession, ""), plat::testing::Ip(kDeviceAddress));
    const HWND box = session.WaitForBox();
    ASSERT_NE(box, nullptr);
    Click(IDC_SEARCH);
    EXPECT_EQ(dialog->m_bResultShown.load(), 0);
    session.Answer(box, IDOK);
    Settle();
    EXPECT_EQ(dialog->m_bResultShown.load(), 1);
    EXPECT_FALSE(ResultShowsBox(0xF004));
}

}  // namespace
}  // namespace ui_test
