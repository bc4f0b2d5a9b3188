// Message maps: the class's own entries first, then its bases', then the default handling;
// handlers of a class with a second base; commands left to the application; run-time classes;
// exceptions in handlers.
#include <stdexcept>
#include <string>
#include <vector>

#include "afx_test_support.h"
#include "platform/output.h"
#include "win/input.h"

namespace afx_test {

// Test classes live outside the unnamed namespace: their run-time class functions have names
// the linker knows, as the tool's own do.
inline std::vector<std::string> calls;

class CBaseDlg : public CDialog {
    DECLARE_DYNAMIC(CBaseDlg)
  public:
    CBaseDlg() : CDialog(kFormTemplate) {}

  protected:
    afx_msg void OnGoInBase() { calls.push_back("base go"); }
    afx_msg void OnOtherInBase() { calls.push_back("base other"); }
    afx_msg void OnListChanged() { calls.push_back("base selchange"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNAMIC(CBaseDlg, CDialog)

BEGIN_MESSAGE_MAP(CBaseDlg, CDialog)
ON_BN_CLICKED(kGoId, &CBaseDlg::OnGoInBase)
ON_BN_CLICKED(kOtherId, &CBaseDlg::OnOtherInBase)
ON_LBN_SELCHANGE(kListId, &CBaseDlg::OnListChanged)
END_MESSAGE_MAP()

class CDerivedDlg : public CBaseDlg {
    DECLARE_DYNAMIC(CDerivedDlg)
  protected:
    afx_msg void OnGoInDerived() { calls.push_back("derived go"); }
    afx_msg void OnListDoubleClicked() { calls.push_back("derived dblclk"); }
    DECLARE_MESSAGE_MAP()
};

IMPLEMENT_DYNAMIC(CDerivedDlg, CBaseDlg)

BEGIN_MESSAGE_MAP(CDerivedDlg, CBaseDlg)
ON_BN_CLICKED(kGoId, &CDerivedDlg::OnGoInDerived)
ON_LBN_DBLCLK(kListId, &CDerivedDlg::OnListDoubleClicked)
END_MESSAGE_MAP()

// Stands for the worker-thread base of the main dialog: data of its own, and virtuals.
struct SecondBase {
    virtual ~SecondBase() = default;
    virtual int Work() { return payload[0]; }
    int payload[8] = {1, 2, 3, 4, 5, 6, 7, 8};
};

class CTwoBasesDlg : public CDialog, public SecondBase {
  public:
    CTwoBasesDlg() : CDialog(kSmallTemplate) {}

    std::u16string seenName;
    UINT seenCommand = 0;
    HICON icon = reinterpret_cast<HICON>(0x1234);
    int paints = 0;

  protected:
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam) {
        seenCommand = nID;
        if ((nID & 0xFFF0) != 0x10) {
            CDialog::OnSysCommand(nID, lParam);
        }
    }
    afx_msg void OnPaint() {
        ++paints;
        CDialog::OnPaint();
    }
    afx_msg HCURSOR OnQueryDragIcon() { return icon; }
    afx_msg void OnOkClicked() {
        seenName = u"ok from the two-base dialog";
        CDialog::OnOK();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTwoBasesDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDOK, &CTwoBasesDlg::OnOkClicked)
END_MESSAGE_MAP()

class CThrowingDlg : public CDialog {
  public:
    CThrowingDlg() : CDialog(kFormTemplate) {}
    int afterwards = 0;

  protected:
    afx_msg void OnGo() { throw std::runtime_error("handler failed"); }
    afx_msg void OnOther() { ++afterwards; }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CThrowingDlg, CDialog)
ON_BN_CLICKED(kGoId, &CThrowingDlg::OnGo)
ON_BN_CLICKED(kOtherId, &CThrowingDlg::OnOther)
END_MESSAGE_MAP()

namespace {

class MessageMapTest : public AfxTest {
  protected:
    void SetUp() override { calls.clear(); }
    void Command(const CWnd& dialog, int id, UINT code) {
        dialog.SendMessage(WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(code)));
    }
};

TEST_F(MessageMapTest, TheDerivedMapComesFirstThenTheBaseMapsThenTheDefault) {
    CDerivedDlg dialog;
    afx::testing::OpenDialog open(dialog);
    ASSERT_TRUE(open.IsOpen());
    Command(dialog, kGoId, BN_CLICKED);
    Command(dialog, kOtherId, BN_CLICKED);
    Command(dialog, kListId, LBN_SELCHANGE);
    Command(dialog, kListId, LBN_DBLCLK);
    Command(dialog, kNameId, BN_CLICKED);   // no entry anywhere
    Command(dialog, kOtherId, LBN_DBLCLK);  // an entry for that id, not for that code
    EXPECT_EQ(calls, (std::vector<std::string>{"derived go", "base other", "base selchange",
                                               "derived dblclk"}));
    EXPECT_FALSE(open.EndCode());
    Command(dialog, IDCANCEL, BN_CLICKED);  // CDialog's own map
    EXPECT_EQ(open.EndCode(), IDCANCEL);
}

TEST_F(MessageMapTest, HandlersOfAClassWithASecondBaseRunOnTheWholeObject) {
    session.SetDialogBaseUnits(4, 8);
    CTwoBasesDlg dialog;
    afx::testing::OpenDialog open(dialog);
    const HWND window = dialog.GetSafeHwnd();

    dialog.SendMessage(WM_SYSCOMMAND, 0x13, 77);
    EXPECT_EQ(dialog.seenCommand, 0x13u);
    EXPECT_FALSE(dialog.IsIconic());
    ASSERT_TRUE(win::input::ChooseSystemMenuItem(window, SC_MINIMIZE));
    EXPECT_EQ(dialog.seenCommand, SC_MINIMIZE);
    EXPECT_TRUE(dialog.IsIconic()) << "handed to the default handling";

    dialog.UpdateWindow();
    EXPECT_EQ(dialog.paints, 1);
    EXPECT_EQ(win::LastPaint(window),
              std::vector<win::PaintOperation>{{win::PaintKind::Background}});
    EXPECT_EQ(dialog.SendMessage(WM_QUERYDRAGICON), reinterpret_cast<LRESULT>(dialog.icon));
    EXPECT_EQ(dialog.Work(), 1);

    ASSERT_TRUE(win::input::Click(GetDlgItem(window, IDOK)));
    EXPECT_EQ(dialog.seenName, u"ok from the two-base dialog");
    EXPECT_EQ(open.EndCode(), IDOK);
}

TEST_F(MessageMapTest, TheHelpCommandReachesTheApplicationsHandler) {
    CWinApp app;
    plat::CaptureOutput output;
    CDerivedDlg dialog;
    afx::testing::OpenDialog open(dialog);
    Command(dialog, static_cast<int>(ID_HELP), 0);
    EXPECT_EQ(output.Debugger(), "CWinApp::OnHelp: no help file\n");
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(open.IsOpen());
}

TEST_F(MessageMapTest, AnExceptionInAHandlerIsTracedAndTheDialogGoesOn) {
    plat::CaptureOutput output;
    CThrowingDlg dialog;
    afx::testing::OpenDialog open(dialog);
    EXPECT_TRUE(win::input::Click(GetDlgItem(dialog.GetSafeHwnd(), kGoId)));
    EXPECT_NE(output.Debugger().find("handler failed"), std::string::npos);
    EXPECT_TRUE(win::input::Click(GetDlgItem(dialog.GetSafeHwnd(), kOtherId)));
    EXPECT_EQ(dialog.afterwards, 1);
}

TEST(RuntimeClass, NamesItsClassAndBases) {
    CDerivedDlg dialog;
    const CRuntimeClass* runtimeClass = dialog.GetRuntimeClass();
    EXPECT_STREQ(runtimeClass->m_lpszClassName, "CDerivedDlg");
    EXPECT_EQ(runtimeClass->GetBaseClass(), RUNTIME_CLASS(CBaseDlg));
    EXPECT_EQ(runtimeClass->m_pfnCreateObject, nullptr);
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CDialog)));
    EXPECT_TRUE(dialog.IsKindOf(RUNTIME_CLASS(CObject)));
    EXPECT_FALSE(dialog.IsKindOf(RUNTIME_CLASS(CWinApp)));
    CTwoBasesDlg undeclared;
    EXPECT_EQ(undeclared.GetRuntimeClass(), RUNTIME_CLASS(CDialog));
}

}  // namespace
}  // namespace afx_test
