// "重启": the reboot request byte for byte, written here from its wire table, with the ID of the
// selected device or one the operator types, and the ways the press ends before anything is sent.
#include "request_fixture.h"

namespace ui_test {
namespace {

using win::headless::Session;
using win::input::Key;

// 108 bytes: header (command 4, payload length 72), user name at 36, password at 56, device ID
// at 76; each text NUL-terminated with zeros behind it.
Bytes ExpectedReboot(const std::string& deviceId, const std::string& user = "admin",
                     const std::string& password = "secret") {
    Bytes b = Header(4, kSession, 108);
    PutText(b, 36, user);
    PutText(b, 56, password);
    PutText(b, 76, deviceId);
    return b;
}

class RebootRequestTest : public RequestFixture {
  protected:
    void ListAndSelect(const std::string& serialBytes) {
        DeviceReply device;
        device.serial = serialBytes;
        AddAndSelect(device);
    }
    // No line selected: "是" to the question, the ID typed and confirmed.
    void AnswerWithTypedId(const std::u16string& id) {
        session.ExpectBox(kTypeInstead, kTypeInsteadCaption).Answer(IDYES);
        session.ExpectDialog(kDeviceIdCaption).Type(IDC_DEVID, id).Click(IDOK);
    }
};

struct SerialCase {
    const char* name;
    std::string serial;    // the 32-byte field as the device sent it, up to the next field
    std::string deviceId;  // what the request carries
};

class RebootSelectedTest : public RebootRequestTest,
                           public ::testing::WithParamInterface<SerialCase> {};

TEST_P(RebootSelectedTest, NamesTheSelectedDeviceBySerialByteForByte) {
    ListAndSelect(GetParam().serial);
    AnswerCredentials(u"admin", u"secret");
    dialog->m_bResultShown = 1;
    Click(IDC_REBOOT);

    const Bytes request = SentRequest();
    EXPECT_TRUE(SameBytes(ExpectedReboot(GetParam().deviceId), request));
    EXPECT_EQ(BoxesShown(), 0) << "no question when a line is selected";
    EXPECT_EQ(dialog->m_bResultShown.load(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Serials, RebootSelectedTest,
    ::testing::Values(SerialCase{"Ascii", "K7Q2X9", "K7Q2X9"},
                      // 序列-01 in code page 936, sent on unconverted.
                      SerialCase{"Gbk", "\xD0\xF2\xC1\xD0-01", "\xD0\xF2\xC1\xD0-01"},
                      SerialCase{"Empty", "", ""},
                      SerialCase{"BytesAfterTheNulStayBehind", std::string("AB\0CD", 5), "AB"},
                      SerialCase{"ThirtyOneBytes", "0123456789012345678901234567890",
                                 "0123456789012345678901234567890"}),
    [](const auto& param) { return std::string(param.param.name); });

struct TypedCase {
    const char* name;
    std::u16string typed;
    std::string deviceId;
};

class RebootTypedTest : public RebootRequestTest,
                        public ::testing::WithParamInterface<TypedCase> {};

TEST_P(RebootTypedTest, NamesTheDeviceByTheTypedIdInCodePage936) {
    Deliver(DeviceReply{}.Encode(kSession));  // listed, but no line selected
    AnswerWithTypedId(GetParam().typed);
    AnswerCredentials(u"admin", u"secret");
    Click(IDC_REBOOT);
    EXPECT_TRUE(SameBytes(ExpectedReboot(GetParam().deviceId), SentRequest()));
}

INSTANTIATE_TEST_SUITE_P(
    Ids, RebootTypedTest,
    ::testing::Values(TypedCase{"ThreeAscii", u"ABC", "ABC"}, TypedCase{"Blanks", u"  ", "  "},
                      TypedCase{"Gbk", u"设备-7", "\xC9\xE8\xB1\xB8-7"},
                      TypedCase{"NotInGbkBecomesQuestionMark", u"한A", "?A"},
                      TypedCase{"ThirtyOneBytes", u"设备设备设备设备设备设备设备设x",
                                "\xC9\xE8\xB1\xB8\xC9\xE8\xB1\xB8\xC9\xE8\xB1\xB8\xC9\xE8\xB1\xB8"
                                "\xC9\xE8\xB1\xB8\xC9\xE8\xB1\xB8\xC9\xE8\xB1\xB8\xC9\xE8x"}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(RebootRequestTest, TerminatorsOfFullFieldsStandAtTheirLastBytes) {
    AnswerWithTypedId(u"0123456789012345678901234567890");
    AnswerCredentials(u"abcdefghijklmnopqrs", u"密码密码密码密码密x");
    Click(IDC_REBOOT);
    const Bytes request = SentRequest();
    ASSERT_EQ(request.size(), 108u);
    // The integer fields: command 4, the session id, payload length 72, error code 0.
    EXPECT_EQ((Bytes{request.begin() + 20, request.end() - 72}),
              (Bytes{0, 0, 0, 4, 0x11, 0x22, 0x33, 0x44, 0, 0, 0, 0x48, 0, 0, 0, 0}));
    EXPECT_EQ(request[54], 's');
    EXPECT_EQ(request[55], 0);
    EXPECT_EQ(request[74], 'x');
    EXPECT_EQ(request[75], 0);
    EXPECT_EQ(request[106], '0');
    EXPECT_EQ(request[107], 0);
    EXPECT_TRUE(SameBytes(
        ExpectedReboot("0123456789012345678901234567890", "abcdefghijklmnopqrs",
                       "\xC3\xDC\xC2\xEB\xC3\xDC\xC2\xEB\xC3\xDC\xC2\xEB\xC3\xDC\xC2\xEB\xC3\xDCx"),
        request));
}

struct EarlyEndCase {
    const char* name;
    const char* serial;  // a line to select; null: none selected
    void (*script)(Session& session);
    int boxes;
};

class RebootEarlyEndTest : public RebootRequestTest,
                           public ::testing::WithParamInterface<EarlyEndCase> {};

TEST_P(RebootEarlyEndTest, SendsNothingAndClearsTheResultFlag) {
    const EarlyEndCase& c = GetParam();
    if (c.serial != nullptr) {
        ListAndSelect(c.serial);
    }
    c.script(session);
    dialog->m_bResultShown = 1;
    Click(IDC_REBOOT);
    EXPECT_EQ(network.SentCount(), 0u);
    EXPECT_EQ(dialog->m_bResultShown.load(), 0);
    EXPECT_EQ(BoxesShown(), c.boxes);
}

void AnswerNo(Session& session) {
    session.ExpectBox(kTypeInstead, kTypeInsteadCaption).Answer(IDNO);
    session.ExpectBox(kSelectFirst, kAppCaption).Answer(IDOK);
}
void EscapeTheIdDialog(Session& session) {
    session.ExpectBox(kTypeInstead, kTypeInsteadCaption).Answer(IDYES);
    session.ExpectDialog(kDeviceIdCaption).Type(IDC_DEVID, u"K7").Press(Key::Escape);
}
void CloseTheIdDialog(Session& session) {
    session.ExpectBox(kTypeInstead, kTypeInsteadCaption).Answer(IDYES);
    session.ExpectDialog(kDeviceIdCaption).CloseBox();
}
void CancelTheCredentials(Session& session) {
    session.ExpectBox(kTypeInstead, kTypeInsteadCaption).Answer(IDYES);
    session.ExpectDialog(kDeviceIdCaption).Type(IDC_DEVID, u"K7Q2X9").Click(IDOK);
    session.ExpectDialog(kCredentialCaption)
        .Type(IDC_USERNAME, u"admin")
        .Type(IDC_PASSWORD, u"secret")
        .Click(IDCANCEL);
}
// A typed ID over 31 bytes in code page 936 does not fit its field: refused once the ID dialog
// has ended, before the credential dialog.
void RefuseTheTypedId(Session& session) {
    session.ExpectBox(kTypeInstead, kTypeInsteadCaption).Answer(IDYES);
    session.ExpectDialog(kDeviceIdCaption)
        .Type(IDC_DEVID, u"设备设备设备设备设备设备设备设xy")
        .Click(IDOK);
    session.ExpectBox(kDeviceIdTooLong, kAppCaption).Answer(IDOK);
}
// A serial with no NUL in its 32 bytes cannot be sent whole: refused before any dialog.
void RefuseTheSerial(Session& session) {
    session.ExpectBox(kSerialTooLong, kAppCaption).Answer(IDOK);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, RebootEarlyEndTest,
    ::testing::Values(EarlyEndCase{"AnsweredNo", nullptr, AnswerNo, 2},
                      EarlyEndCase{"IdDialogEscaped", nullptr, EscapeTheIdDialog, 1},
                      EarlyEndCase{"IdDialogClosed", nullptr, CloseTheIdDialog, 1},
                      EarlyEndCase{"CredentialsCancelled", nullptr, CancelTheCredentials, 1},
                      EarlyEndCase{"TypedIdTooLong", nullptr, RefuseTheTypedId, 2},
                      EarlyEndCase{"SerialWithoutNul", "SSSSSSSSSSSSSSSSSSSSSSSSSSSSSSSS",
                                   RefuseTheSerial, 1}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace ui_test
