// The application object and the program entry.
#include <string>
#include <vector>

#include "afx_test_support.h"
#include "platform/sockets.h"
#include "platform/testing/fakes.h"
#include "win/quit.h"
#include "win/ui_thread.h"

namespace afx_test {
namespace {

enum class Road { SocketFailure, MainDialogRun, MainWindowLoop, QuitWhileRunning };

class CTestApp : public CWinApp {
  public:
    explicit CTestApp(Road road) : road_(road) {}

    std::vector<std::string> steps;
    bool exited = false;

    BOOL InitInstance() override {
        INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
        EXPECT_TRUE(InitCommonControlsEx(&init));
        CWinApp::InitInstance();
        if (!AfxSocketInit()) {
            steps.push_back("socket failure box: " + std::to_string(AfxMessageBox(103)));
            return FALSE;
        }
        AfxEnableControlContainer();
        SetRegistryKey(u"应用程序向导生成的本地应用程序");
        if (road_ == Road::MainWindowLoop) {
            // A main window that outlives InitInstance: the program's loop runs while it exists.
            m_pMainWnd = &mainWindow_;
            mainWindow_.Create();
            const HWND window = mainWindow_.GetSafeHwnd();
            win::PostToWindow(window, [window] { win::DestroyWindow(window); });
            steps.push_back("loop");
            return TRUE;
        }
        if (road_ == Road::QuitWhileRunning) {
            // A quit ends the program's own loop too.
            m_pMainWnd = &mainWindow_;
            mainWindow_.Create();
            win::PostQuitMessage(143);
            steps.push_back("loop");
            return TRUE;
        }
        CDialog dialog(kFormTemplate);
        m_pMainWnd = &dialog;
        steps.push_back("dialog: " + std::to_string(dialog.DoModal()));
        return FALSE;
    }
    int ExitInstance() override {
        exited = true;
        return CWinApp::ExitInstance();
    }

  private:
    Road road_;
    CDialog mainWindow_{kFormTemplate};
};

class AppTest : public AfxTest {
  protected:
    plat::testing::FakeNetwork network;
};

TEST_F(AppTest, ASocketLibraryThatCannotStartShowsOneBoxAndEnds) {
    network.FailStartup(plat::WSASYSNOTREADY);
    AfxRegisterString(103, u"Windows 套接字初始化失败。");
    session.ExpectBox(u"Windows 套接字初始化失败。", u"quorvel").Answer(IDOK);
    CTestApp app(Road::SocketFailure);

    EXPECT_EQ(AfxWinMain(session, "/usr/local/bin/quorvel"), 0);

    EXPECT_EQ(app.steps, std::vector<std::string>{"socket failure box: 1"});
    EXPECT_TRUE(app.exited);
    EXPECT_EQ(session.Shown().size(), 1u);
    EXPECT_EQ(app.m_pszRegistryKey, nullptr);
}

TEST_F(AppTest, TheMainDialogRunsOnceAndTheProgramEndsWhenItCloses) {
    session.ExpectDialog(u"表单").Press(win::input::Key::Escape);
    CTestApp app(Road::MainDialogRun);

    EXPECT_EQ(AfxWinMain(session, "/usr/local/bin/quorvel"), 0);

    EXPECT_EQ(app.steps, std::vector<std::string>{"dialog: 2"});
    EXPECT_TRUE(app.exited);
    EXPECT_EQ(app.m_pMainWnd, nullptr);
    EXPECT_EQ(std::u16string(app.m_pszAppName), u"quorvel");
    EXPECT_EQ(std::u16string(AfxGetAppName()), u"quorvel");
    EXPECT_EQ(std::u16string(app.m_pszRegistryKey), u"应用程序向导生成的本地应用程序");
    EXPECT_EQ(network.Calls().front(), "WSAStartup 0x0101");
    EXPECT_EQ(AfxGetApp(), &app);
}

TEST_F(AppTest, AnApplicationThatGoesOnRunsUntilItsMainWindowIsGone) {
    CTestApp app(Road::MainWindowLoop);
    EXPECT_EQ(AfxWinMain(session, "quorvel"), 0);
    EXPECT_EQ(app.steps, std::vector<std::string>{"loop"});
    EXPECT_TRUE(app.exited);
}

TEST_F(AppTest, AQuitWhileTheMainDialogRunsEndsItAndTheProgramWithItsCodeAndNoWindowLeft) {
    HWND result = nullptr;
    session.ExpectDialog(u"表单").Run([&](HWND) {
        // A box without owner that a worker left open, as a device's result box.
        result = win::CreateDialogIndirectParamW(*win::FindDialogTemplate(kSmallTemplate), nullptr,
                                                 nullptr);
        win::PostQuitMessage(130);
    });
    CTestApp app(Road::MainDialogRun);

    EXPECT_EQ(AfxWinMain(session, "quorvel"), 130);

    EXPECT_EQ(app.steps, std::vector<std::string>{"dialog: -1"});
    EXPECT_TRUE(app.exited);
    EXPECT_FALSE(win::IsWindow(result));
}

TEST_F(AppTest, AQuitEndsTheLoopOfAnApplicationThatGoesOn) {
    CTestApp app(Road::QuitWhileRunning);
    EXPECT_EQ(AfxWinMain(session, "quorvel"), 143);
    EXPECT_EQ(app.steps, std::vector<std::string>{"loop"});
    EXPECT_TRUE(win::TopLevelWindows().empty());
}

TEST(AppName, IsTheExecutablesFileNameUnlessTheApplicationGaveOne) {
    {
        CWinApp app;
        AfxWinInit("/opt/tools/quorvel.bin");
        EXPECT_EQ(std::u16string(AfxGetAppName()), u"quorvel");
    }
    CWinApp named(u"自定义");
    AfxWinInit("/opt/tools/quorvel");
    EXPECT_EQ(std::u16string(AfxGetAppName()), u"自定义");
}

}  // namespace
}  // namespace afx_test
