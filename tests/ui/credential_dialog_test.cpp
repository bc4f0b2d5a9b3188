// The credential dialog: what "确定" refuses and keeps, the show-password box, and the ways it
// ends; run on its own and as the two request buttons open it.
#include <functional>

#include "request_fixture.h"
#include "ui/user_name_pw.h"

namespace ui_test {
namespace {

using win::headless::FocusedId;
using win::headless::PasswordChar;
using win::headless::Script;
using win::headless::ShownText;
using win::input::Key;

// 19 bytes in code page 936: nine two-byte characters and one ASCII character.
const std::u16string kNineteenGbkBytes = u"密码密码密码密码密x";

enum class Submit { ClickOk, EnterInUserName, EnterInPassword };

void SubmitBy(Script& script, Submit how) {
    switch (how) {
        case Submit::ClickOk:
            script.Click(IDOK);
            break;
        case Submit::EnterInUserName:
            script.Focus(IDC_USERNAME).Press(Key::Enter);
            break;
        case Submit::EnterInPassword:
            script.Focus(IDC_PASSWORD).Press(Key::Enter);
            break;
    }
}

// Checks, in the open dialog, that both edits show these texts.
std::function<void(HWND)> ShowsTexts(std::u16string user, std::u16string password) {
    return [user, password](HWND dialog) {
        EXPECT_EQ(ShownText(dialog, IDC_USERNAME), user);
        EXPECT_EQ(ShownText(dialog, IDC_PASSWORD), password);
    };
}

class CredentialDialogTest : public SessionFixture {
  protected:
    struct Outcome {
        INT_PTR code;
        std::u16string user;
        std::u16string password;
    };

    // Runs the dialog as a request handler does and takes its texts.
    static Outcome Run() {
        CUserNamePw dialog;
        const INT_PTR code = dialog.DoModal();
        CString user;
        CString password;
        dialog.GetUserPw(user, password);
        return {code, user.Str(), password.Str()};
    }

    Script& Expect() { return session.ExpectDialog(kCredentialCaption); }

    int BoxesShown() const { return MessageBoxesShown(session); }
};

TEST_F(CredentialDialogTest, OpensEmptyAndMaskedWithTheFocusOnOk) {
    Expect()
        .Run([](HWND dialog) {
            EXPECT_EQ(FocusedId(dialog), IDOK);
            ShowsTexts(u"", u"")(dialog);
            EXPECT_EQ(win::headless::CheckState(dialog, IDC_SHOW_PASSWORD), 0);
            EXPECT_NE(PasswordChar(dialog, IDC_PASSWORD), u'\0');
        })
        .Press(Key::Escape);
    EXPECT_EQ(Run().code, IDCANCEL);
}

struct AcceptedCase {
    const char* name;
    std::u16string user;
    std::u16string password;
    Submit how;
};

class CredentialsAcceptedTest : public CredentialDialogTest,
                                public ::testing::WithParamInterface<AcceptedCase> {};

TEST_P(CredentialsAcceptedTest, EndsWithOkAndGivesTheTextsAsTyped) {
    const AcceptedCase& c = GetParam();
    Script& script = Expect().Type(IDC_USERNAME, c.user).Type(IDC_PASSWORD, c.password);
    SubmitBy(script, c.how);
    const Outcome outcome = Run();
    EXPECT_EQ(outcome.code, IDOK);
    EXPECT_EQ(outcome.user, c.user);
    EXPECT_EQ(outcome.password, c.password);
    EXPECT_EQ(BoxesShown(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CredentialsAcceptedTest,
    ::testing::Values(
        AcceptedCase{"Plain", u"admin", u"secret", Submit::ClickOk},
        AcceptedCase{"BlanksOnly", u" ", u"   ", Submit::ClickOk},
        AcceptedCase{"NineteenAsciiBytes", u"abcdefghijklmnopqrs", u"0123456789012345678",
                     Submit::ClickOk},
        AcceptedCase{"NineteenGbkBytes", kNineteenGbkBytes, kNineteenGbkBytes, Submit::ClickOk},
        AcceptedCase{"EnterInTheUserName", u"admin", u"secret", Submit::EnterInUserName},
        AcceptedCase{"EnterInThePassword", u"admin", u"secret", Submit::EnterInPassword}),
    [](const auto& param) { return std::string(param.param.name); });

struct RefusedCase {
    const char* name;
    std::u16string user;
    std::u16string password;
    Submit how;
    const std::u16string* message;
};

class CredentialsRefusedTest : public CredentialDialogTest,
                               public ::testing::WithParamInterface<RefusedCase> {};

TEST_P(CredentialsRefusedTest, ShowsTheMessageAndStaysOpenWithTheTexts) {
    const RefusedCase& c = GetParam();
    Script& script = Expect().Type(IDC_USERNAME, c.user).Type(IDC_PASSWORD, c.password);
    SubmitBy(script, c.how);
    session.ExpectBox(*c.message, kAppCaption).Answer(IDOK);
    script.Run(ShowsTexts(c.user, c.password)).Click(IDCANCEL);

    EXPECT_EQ(Run().code, IDCANCEL);
    EXPECT_EQ(BoxesShown(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, CredentialsRefusedTest,
    ::testing::Values(
        RefusedCase{"NoUserName", u"", u"secret", Submit::ClickOk, &kCredentialsEmpty},
        RefusedCase{"NoPassword", u"admin", u"", Submit::ClickOk, &kCredentialsEmpty},
        RefusedCase{"Neither", u"", u"", Submit::ClickOk, &kCredentialsEmpty},
        RefusedCase{"EnterChecksToo", u"admin", u"", Submit::EnterInPassword, &kCredentialsEmpty},
        RefusedCase{"TwentyAsciiUserName", u"abcdefghijklmnopqrst", u"secret", Submit::ClickOk,
                    &kUserNameTooLong},
        RefusedCase{"TwentyGbkBytesPassword", u"admin", u"密码密码密码密码密码", Submit::ClickOk,
                    &kPasswordTooLong},
        RefusedCase{"BothTooLongNamesTheUserFirst", u"用户名用户名用户名用户",
                    u"密码密码密码密码密码", Submit::EnterInUserName, &kUserNameTooLong}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(CredentialDialogTest, EachRefusalShowsItsOwnBox) {
    Expect()
        .Click(IDOK)
        .Press(Key::Enter)
        .Type(IDC_USERNAME, u"admin")
        .Type(IDC_PASSWORD, u"secret")
        .Click(IDOK);
    session.ExpectBox(kCredentialsEmpty).Answer(IDOK);
    session.ExpectBox(kCredentialsEmpty).Answer(IDOK);
    EXPECT_EQ(Run().code, IDOK);
    EXPECT_EQ(BoxesShown(), 2);
}

TEST_F(CredentialDialogTest, TheShowBoxTogglesTheMaskAndKeepsBothTexts) {
    Expect()
        .Type(IDC_USERNAME, u"admin")
        .Type(IDC_PASSWORD, u"s3cret 密")
        .Click(IDC_SHOW_PASSWORD)
        .Run([](HWND dialog) {
            EXPECT_EQ(PasswordChar(dialog, IDC_PASSWORD), u'\0') << "shown in clear";
            ShowsTexts(u"admin", u"s3cret 密")(dialog);
        })
        .Click(IDC_SHOW_PASSWORD)
        .Run([](HWND dialog) {
            EXPECT_EQ(PasswordChar(dialog, IDC_PASSWORD), u'*') << "masked with '*' from now on";
            ShowsTexts(u"admin", u"s3cret 密")(dialog);
        })
        .Type(IDC_PASSWORD, u"changed")
        .Click(IDC_SHOW_PASSWORD)
        .Run([](HWND dialog) {
            EXPECT_EQ(PasswordChar(dialog, IDC_PASSWORD), u'\0');
            ShowsTexts(u"admin", u"changed")(dialog);
        })
        .Click(IDOK);
    const Outcome outcome = Run();
    EXPECT_EQ(outcome.code, IDOK);
    EXPECT_EQ(outcome.user, u"admin");
    EXPECT_EQ(outcome.password, u"changed");
}

struct CancelCase {
    const char* name;
    std::u16string user;
    void (*cancel)(Script& script);
};

class CredentialsCancelTest : public CredentialDialogTest,
                              public ::testing::WithParamInterface<CancelCase> {};

TEST_P(CredentialsCancelTest, EndsWithCancelAndNoMessage) {
    Script& script = Expect().Type(IDC_USERNAME, GetParam().user);
    GetParam().cancel(script);
    EXPECT_EQ(Run().code, IDCANCEL);
    EXPECT_EQ(BoxesShown(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CredentialsCancelTest,
    ::testing::Values(CancelCase{"CancelButtonEmpty", u"", [](Script& s) { s.Click(IDCANCEL); }},
                      CancelCase{"CancelButtonTyped", u"admin",
                                 [](Script& s) { s.Click(IDCANCEL); }},
                      CancelCase{"EscapeEmpty", u"", [](Script& s) { s.Press(Key::Escape); }},
                      CancelCase{"EscapeTyped", u"admin", [](Script& s) { s.Press(Key::Escape); }},
                      CancelCase{"CloseBoxEmpty", u"", [](Script& s) { s.CloseBox(); }},
                      CancelCase{"CloseBoxTyped", u"admin", [](Script& s) { s.CloseBox(); }}),
    [](const auto& param) { return std::string(param.param.name); });

// As the request buttons open it: one new dialog per press, nothing remembered, nothing sent
// when it is cancelled.
using CredentialDialogFromButtonsTest = RequestFixture;

TEST_F(CredentialDialogFromButtonsTest, EveryPressOfEitherButtonOpensItEmpty) {
    AddAndSelect(DeviceReply{});
    const auto opensEmptyThenCancels = [&](void (*cancel)(Script&)) {
        Script& script =
            session.ExpectDialog(kCredentialCaption)
                .Run([](HWND credentials) {
                    EXPECT_EQ(FocusedId(credentials), IDOK);
                    ShowsTexts(u"", u"")(credentials);
                    EXPECT_EQ(win::headless::CheckState(credentials, IDC_SHOW_PASSWORD), 0);
                })
                .Type(IDC_USERNAME, u"admin")
                .Type(IDC_PASSWORD, u"secret")
                .Click(IDC_SHOW_PASSWORD);
        cancel(script);
    };
    opensEmptyThenCancels([](Script& s) { s.Click(IDCANCEL); });
    Click(IDC_MODIFY);
    opensEmptyThenCancels([](Script& s) { s.Press(Key::Escape); });
    Click(IDC_REBOOT);
    opensEmptyThenCancels([](Script& s) { s.CloseBox(); });
    Click(IDC_MODIFY);

    EXPECT_EQ(network.SentCount(), 0u);
    EXPECT_EQ(BoxesShown(), 0);
    EXPECT_EQ(std::count_if(session.Shown().begin(), session.Shown().end(),
                            [](const auto& shown) { return shown.caption == kCredentialCaption; }),
              3);
}

}  // namespace
}  // namespace ui_test
