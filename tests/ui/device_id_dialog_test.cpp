// The device-ID dialog: the emptiness check and the length limit of "确定" and Enter, and the
// ways it ends; run on its own and as "重启" opens it when no line is selected.
#include "request_fixture.h"
#include "ui/dev_id.h"

namespace ui_test {
namespace {

using win::headless::FocusedId;
using win::headless::Script;
using win::headless::ShownText;
using win::input::Key;

class DeviceIdDialogTest : public SessionFixture {
  protected:
    struct Outcome {
        INT_PTR code;
        std::u16string id;
    };

    static Outcome Run() {
        CDevId dialog;
        const INT_PTR code = dialog.DoModal();
        CString id;
        dialog.GetDevId(id);
        return {code, id.Str()};
    }

    Script& Expect() { return session.ExpectDialog(kDeviceIdCaption); }
    int BoxesShown() const { return MessageBoxesShown(session); }
};

TEST_F(DeviceIdDialogTest, OpensEmptyWithTheFocusOnOk) {
    Expect()
        .Run([](HWND dialog) {
            EXPECT_EQ(FocusedId(dialog), IDOK);
            EXPECT_EQ(ShownText(dialog, IDC_DEVID), u"");
        })
        .Press(Key::Escape);
    EXPECT_EQ(Run().code, IDCANCEL);
    EXPECT_EQ(BoxesShown(), 0);
}

TEST_F(DeviceIdDialogTest, AnEmptyIdShowsTheMessageOncePerPressAndStaysOpen) {
    Expect()
        .Click(IDOK)
        .Focus(IDC_DEVID)
        .Press(Key::Enter)
        .Run([](HWND dialog) { EXPECT_TRUE(win::IsWindowVisible(dialog)); })
        .Type(IDC_DEVID, u"K7Q2X9")
        .Press(Key::Enter);
    session.ExpectBox(kDeviceIdEmpty, kAppCaption).Answer(IDOK);
    session.ExpectBox(kDeviceIdEmpty, kAppCaption).Answer(IDOK);
    const Outcome outcome = Run();
    EXPECT_EQ(outcome.code, IDOK);
    EXPECT_EQ(outcome.id, u"K7Q2X9");
    EXPECT_EQ(BoxesShown(), 2);
}

struct AcceptedCase {
    const char* name;
    std::u16string id;
};

class DeviceIdAcceptedTest : public DeviceIdDialogTest,
                             public ::testing::WithParamInterface<AcceptedCase> {};

TEST_P(DeviceIdAcceptedTest, EndsWithOkAndGivesTheIdAsTyped) {
    Expect().Type(IDC_DEVID, GetParam().id).Click(IDOK);
    const Outcome outcome = Run();
    EXPECT_EQ(outcome.code, IDOK);
    EXPECT_EQ(outcome.id, GetParam().id);
    EXPECT_EQ(BoxesShown(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ids, DeviceIdAcceptedTest,
    ::testing::Values(AcceptedCase{"BlanksOnly", u"   "},
                      AcceptedCase{"ThirtyOneAsciiBytes", u"0123456789012345678901234567890"},
                      AcceptedCase{"ThirtyOneGbkBytes", u"设备设备设备设备设备设备设备设x"},
                      // The dialog sets no limit: the reboot handler refuses what does not fit.
                      AcceptedCase{"ThirtyTwoAsciiBytes", u"01234567890123456789012345678901"},
                      AcceptedCase{"ThirtyTwoGbkBytes", u"设备设备设备设备设备设备设备设xy"}),
    [](const auto& param) { return std::string(param.param.name); });

struct CancelCase {
    const char* name;
    std::u16string typed;
    void (*cancel)(Script& script);
};

class DeviceIdCancelTest : public DeviceIdDialogTest,
                           public ::testing::WithParamInterface<CancelCase> {};

TEST_P(DeviceIdCancelTest, EndsWithCancelAndNeverShowsTheMessage) {
    Script& script = Expect().Type(IDC_DEVID, GetParam().typed);
    GetParam().cancel(script);
    EXPECT_EQ(Run().code, IDCANCEL);
    EXPECT_EQ(BoxesShown(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, DeviceIdCancelTest,
    ::testing::Values(CancelCase{"EscapeEmpty", u"", [](Script& s) { s.Press(Key::Escape); }},
                      CancelCase{"EscapeTyped", u"K7", [](Script& s) { s.Press(Key::Escape); }},
                      CancelCase{"CloseBoxEmpty", u"", [](Script& s) { s.CloseBox(); }},
                      CancelCase{"EscapeTooLong", u"01234567890123456789012345678901",
                                 [](Script& s) { s.Press(Key::Escape); }}),
    [](const auto& param) { return std::string(param.param.name); });

// As "重启" opens it: a new dialog per press, nothing remembered.
using DeviceIdDialogFromRebootTest = RequestFixture;

TEST_F(DeviceIdDialogFromRebootTest, EveryUseOpensEmpty) {
    for (int press = 0; press < 2; ++press) {
        session.ExpectBox(kTypeInstead, kTypeInsteadCaption).Answer(IDYES);
        session.ExpectDialog(kDeviceIdCaption)
            .Run([](HWND idDialog) {
                EXPECT_EQ(FocusedId(idDialog), IDOK);
                EXPECT_EQ(ShownText(idDialog, IDC_DEVID), u"");
            })
            .Type(IDC_DEVID, u"TYPED-7")
            .Click(IDOK);
        session.ExpectDialog(kCredentialCaption).Click(IDCANCEL);
        Click(IDC_REBOOT);
    }
    EXPECT_EQ(network.SentCount(), 0u);
}

}  // namespace
}  // namespace ui_test
