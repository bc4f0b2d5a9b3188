// Start-up and the end of a run: the application object, the initialisation of the main
// dialog, the ways it closes, and its teardown whatever the worker is doing.
#include <chrono>

#include "main_dialog_fixture.h"
#include "ui/quorvel_app.h"
#include "win/window.h"

namespace ui_test {
namespace {

using namespace std::chrono_literals;
using win::input::Key;

// The search request from the wire table: magic, two zero bytes, four zero bytes, command 1,
// the session id big-endian, payload length 0, error code 0.
const Bytes kSearchRequest = {'A',  'A',  'B',  'B',  'C', 'C', 'D', 'D', '_', 'K', 'A', 'V',
                              'R',  'O',  0,    0,    0,   0,   0,   0,   0,   0,   0,   1,
                              0x11, 0x22, 0x33, 0x44, 0,   0,   0,   0,   0,   0,   0,   0};

using StartUpTest = MainDialogFixture;

TEST_F(StartUpTest, AWorkingStartSearchesOnceWithTheSessionIdOfTheTickCount) {
    EXPECT_EQ(dialog->m_dwSessionId, kSession);
    const auto sent = network.SentDatagrams();
    ASSERT_EQ(sent.size(), 256u);
    for (const auto& d : sent) {
        EXPECT_EQ(d.bytes, kSearchRequest);
        EXPECT_EQ(d.port, 5050);
    }
    EXPECT_EQ(sent.front().AddressText(), "192.168.1.1");
    EXPECT_EQ(sent.back().AddressText(), "255.255.255.255");
    EXPECT_EQ(network.BlockedReceivers(), 1) << "the worker waits in its receive";
    EXPECT_NE(output.Debugger().find("Local port: 50000\n"), std::string::npos);
}

TEST_F(StartUpTest, TheWindowHasItsIconsAboutEntryAndFocusOnSearch) {
    const win::Window* window = win::FindWindow(hwnd);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->Text(), u"KAVRO 搜索工具 v8.3");
    const HICON icon = LoadIconW(nullptr, IDR_MAINFRAME);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(window->Icon(ICON_BIG), icon);
    EXPECT_EQ(window->Icon(ICON_SMALL), icon);

    const auto menu = window->SystemMenu();
    ASSERT_GE(menu.size(), 2u);
    EXPECT_EQ(menu[menu.size() - 2].flags & MF_SEPARATOR, MF_SEPARATOR);
    EXPECT_EQ(menu.back().id, 16u);
    EXPECT_EQ(menu.back().text, u"关于 Quorvel(&A)...");
    EXPECT_EQ(win::headless::FocusedId(hwnd), IDC_SEARCH);
}

// The bindings of the main window's data exchange, control by control as its layout names them.
TEST_F(StartUpTest, EachBoundMemberBelongsToItsOwnControlAndBoxesTakeNoPart) {
    CQuorvelDlg& d = *dialog;
    const std::pair<const CWnd*, int> controls[] = {
        {&d.m_list, 1002},         {&d.m_editName[0], 1003},  {&d.m_editName[1], 1008},
        {&d.m_editName[2], 1013},  {&d.m_ipAddr[0], 1004},    {&d.m_ipAddr[1], 1009},
        {&d.m_ipAddr[2], 1014},    {&d.m_ipMask[0], 1005},    {&d.m_ipMask[1], 1010},
        {&d.m_ipMask[2], 1015},    {&d.m_ipGateway[0], 1006}, {&d.m_ipGateway[1], 1011},
        {&d.m_ipGateway[2], 1016}, {&d.m_chkAuto[0], 1007},   {&d.m_chkAuto[1], 1012},
        {&d.m_chkAuto[2], 1017},   {&d.m_ipDns1, 1018},       {&d.m_ipDns2, 1019},
        {&d.m_chkDnsAuto, 1020}};
    for (const auto& [member, id] : controls) {
        EXPECT_EQ(member->GetSafeHwnd(), Item(id)) << "control " << id;
    }

    const std::pair<CString*, int> texts[] = {
        {&d.m_strName[0], 1003},    {&d.m_strName[1], 1008},    {&d.m_strName[2], 1013},
        {&d.m_strIp[0], 1004},      {&d.m_strIp[1], 1009},      {&d.m_strIp[2], 1014},
        {&d.m_strMask[0], 1005},    {&d.m_strMask[1], 1010},    {&d.m_strMask[2], 1015},
        {&d.m_strGateway[0], 1006}, {&d.m_strGateway[1], 1011}, {&d.m_strGateway[2], 1016},
        {&d.m_strDns1, 1018},       {&d.m_strDns2, 1019}};
    // A distinct text per control and round, one that name edits and address controls show.
    const auto textOf = [](int id, int round) {
        return U(("10." + std::to_string(round) + "." + std::to_string(id - 1000) + ".1").c_str());
    };
    for (int box : {1007, 1012, 1017, 1020}) {
        SendMessageW(Item(box), BM_SETCHECK, BST_CHECKED, 0);
    }

    for (const auto& [member, id] : texts) {
        *member = textOf(id, 1).c_str();
    }
    dialog->UpdateData(FALSE);
    for (const auto& [member, id] : texts) {
        EXPECT_EQ(win::headless::ShownText(hwnd, id), textOf(id, 1)) << "to control " << id;
    }

    for (const auto& [member, id] : texts) {
        win::SetWindowTextW(Item(id), textOf(id, 2).c_str());
    }
    dialog->UpdateData(TRUE);
    for (const auto& [member, id] : texts) {
        EXPECT_EQ(member->Str(), textOf(id, 2)) << "from control " << id;
    }
    for (int box : {1007, 1012, 1017, 1020}) {
        EXPECT_EQ(win::headless::CheckState(hwnd, box), 1) << "box " << box;
    }
}

struct CloseCase {
    const char* name;
    void (*act)(HWND dialog);
    INT_PTR endCode;
};

void PrintTo(const CloseCase& c, std::ostream* os) {
    *os << c.name;
}

class CloseTest : public MainDialogFixture, public ::testing::WithParamInterface<CloseCase> {};

TEST_P(CloseTest, EndsThroughTheDefaultHandlingWithoutSending) {
    network.ClearSent();
    GetParam().act(hwnd);
    ASSERT_TRUE(opened->EndCode().has_value());
    EXPECT_EQ(*opened->EndCode(), GetParam().endCode);
    EXPECT_EQ(network.SentCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Ways, CloseTest,
    ::testing::Values(
        CloseCase{"Escape", [](HWND w) { win::input::PressKey(w, Key::Escape); }, IDCANCEL},
        CloseCase{"CloseBox", [](HWND w) { win::input::CloseBox(w); }, IDCANCEL},
        CloseCase{"AltF4", [](HWND w) { win::input::PressKey(w, Key::AltF4); }, IDCANCEL},
        CloseCase{"SystemMenuClose", [](HWND w) { win::input::ChooseSystemMenuItem(w, SC_CLOSE); },
                  IDCANCEL},
        CloseCase{"EnterOnTheList",
                  [](HWND w) {
                      win::input::SetFocus(win::GetDlgItem(w, IDC_LIST));
                      win::input::PressKey(w, Key::Enter);
                  },
                  IDOK},
        CloseCase{"EnterOnAName",
                  [](HWND w) {
                      win::input::SetFocus(win::GetDlgItem(w, IDC_NAME1));
                      win::input::PressKey(w, Key::Enter);
                  },
                  IDOK}),
    [](const auto& param) { return std::string(param.param.name); });

TEST_F(StartUpTest, EnterOnSearchSearchesAgainInsteadOfClosing) {
    network.ClearSent();
    win::input::PressKey(hwnd, Key::Enter);
    EXPECT_FALSE(opened->EndCode().has_value());
    EXPECT_EQ(network.SentCount(), 256u);
}

TEST_F(StartUpTest, EnterCopiesTheControlsIntoTheBoundStringsBeforeEnding) {
    ASSERT_TRUE(win::input::SetText(Item(IDC_DNS2), u"10.0.0.53"));
    win::input::SetFocus(Item(IDC_LIST));
    win::input::PressKey(hwnd, Key::Enter);
    EXPECT_EQ(dialog->m_strDns2, u"10.0.0.53");
}

class FailedEndpointTest : public SessionFixture {};

TEST_F(FailedEndpointTest, TheWindowOpensWithoutWorkerAndSendsNothing) {
    network.FailBind(plat::WSAEADDRINUSE);
    CQuorvelDlg dialog;
    afx::testing::OpenDialog opened(dialog);
    ASSERT_NE(opened.Handle(), nullptr);
    EXPECT_EQ(output.StandardOutput(), "bind failed: 10048 \n ");
    EXPECT_EQ(network.SentCount(), 0u);
    EXPECT_EQ(dialog.m_sock, plat::INVALID_SOCKET);
    EXPECT_EQ(dialog.m_dwSessionId, 0u);
    EXPECT_EQ(network.BlockedReceivers(), 0);
    for (int r = 0; r < 3; ++r) {
        const int base = IDC_NAME1 + IDC_ROW_STRIDE * r;
        EXPECT_TRUE(win::headless::IsEnabled(opened.Handle(), base + 1)) << "row " << r;
        EXPECT_EQ(win::headless::CheckState(opened.Handle(), base + 4), 0) << "row " << r;
    }

    // A search now reports the missing socket through the sender's own lines.
    output.Clear();
    win::input::Click(win::GetDlgItem(opened.Handle(), IDC_SEARCH));
    EXPECT_EQ(network.SentCount(), 0u);
    EXPECT_EQ(output.StandardOutput(),
              "Error creating socket: 10048\nError creating socket: 10048\n");
    EXPECT_NE(output.Debugger().find("-1\n"), std::string::npos);
}

class TeardownTest : public MainDialogFixture {
  protected:
    void CloseAndDestroyPromptly() {
        const auto before = std::chrono::steady_clock::now();
        opened->Close();
        dialog.reset();
        EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
        EXPECT_EQ(network.BlockedReceivers(), 0);
        session.Pump();  // a released box leaves the screen when the UI thread next pumps
        EXPECT_TRUE(win::headless::OpenMessageBoxes().empty());
    }
};

TEST_F(TeardownTest, EndsAWorkerBlockedInItsReceive) {
    CloseAndDestroyPromptly();
}

TEST_F(TeardownTest, EndsAWorkerThatHoldsAResultBox) {
    network.QueueDatagram(ResultReply(0xF002, kSession, ""), plat::testing::Ip(kDeviceAddress));
    ASSERT_NE(session.WaitForBox(), nullptr);
    CloseAndDestroyPromptly();
}

TEST_F(TeardownTest, EndsAWorkerThatHoldsTheErrorBox) {
    network.QueueDatagram(Header(0xF001, kSession, 36, 1), plat::testing::Ip(kDeviceAddress));
    ASSERT_NE(session.WaitForBox(), nullptr);
    CloseAndDestroyPromptly();
}

TEST_F(TeardownTest, DropsRepliesStillOnTheirWayToTheList) {
    network.QueueDatagram(DeviceReply{}.Encode(kSession), plat::testing::Ip(kDeviceAddress));
    ASSERT_TRUE(network.WaitUntilReceiverIdle());
    CloseAndDestroyPromptly();
    session.Pump();  // the handed-over reply must not run against the destroyed dialog
}

class ApplicationTest : public SessionFixture {};

TEST_F(ApplicationTest, WithoutSocketsOneBoxAndNoMainWindow) {
    network.FailStartup(plat::WSASYSNOTREADY);
    session.ExpectBox(u"Windows 套接字初始化失败。", u"quorvel").Answer(IDOK);
    CQuorvelApp app;
    EXPECT_EQ(app.InitInstance(), FALSE);
    ASSERT_EQ(session.Shown().size(), 1u);
    EXPECT_TRUE(session.Shown()[0].messageBox);
}

TEST_F(ApplicationTest, RunsTheMainDialogOnceAndEndsWhenItCloses) {
    session.ExpectDialog(u"KAVRO 搜索工具 v8.3").Press(Key::Escape);
    CQuorvelApp app;
    EXPECT_EQ(app.InitInstance(), FALSE);
    ASSERT_EQ(session.Shown().size(), 1u);
    EXPECT_FALSE(session.Shown()[0].messageBox);
    EXPECT_EQ(std::u16string(app.m_pszRegistryKey), u"应用程序向导生成的本地应用程序");
    EXPECT_EQ(network.BlockedReceivers(), 0) << "the worker ended with the dialog";
    EXPECT_EQ(app.m_pMainWnd, nullptr);
}

TEST_F(ApplicationTest, HelpGoesToTheLibrarysHandler) {
    CQuorvelApp app;
    EXPECT_TRUE(app.OnCmdMsg(ID_HELP, 0));
    EXPECT_NE(output.Debugger().find("OnHelp"), std::string::npos);
}

}  // namespace
}  // namespace ui_test
