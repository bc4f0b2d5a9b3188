// CDialog: the modal run, data exchange both ways, control members, the owner, painting, boxes.
#include <functional>

#include "afx/testing/open_dialog.h"
#include "afx_test_support.h"
#include "win/input.h"

namespace afx_test {
namespace {

using win::headless::ShownText;
using win::input::Key;

class CFormDlg : public CDialog {
  public:
    explicit CFormDlg(CWnd* parent = nullptr) : CDialog(kFormTemplate, parent) {}

    CString m_strName;
    CString m_strAddress;
    CListBox m_list;
    CButton m_chkShow;
    CEdit m_editName;
    CIPAddressCtrl m_ipAddress;
    int exchanges = 0;
    std::function<void()> onGo;

  protected:
    void DoDataExchange(CDataExchange* pDX) override {
        ++exchanges;
        DDX_Control(pDX, kListId, m_list);
        DDX_Control(pDX, kBoxId, m_chkShow);
        DDX_Control(pDX, kNameId, m_editName);
        DDX_Control(pDX, kAddressId, m_ipAddress);
        DDX_Text(pDX, kNameId, m_strName);
        DDX_Text(pDX, kAddressId, m_strAddress);
    }
    afx_msg void OnGo() {
        if (onGo) {
            onGo();
        }
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CFormDlg, CDialog)
ON_BN_CLICKED(kGoId, &CFormDlg::OnGo)
END_MESSAGE_MAP()

class CIconDlg : public CDialog {
  public:
    CIconDlg() : CDialog(kSmallTemplate) {}
    HICON m_hIcon = reinterpret_cast<HICON>(0x128);

  protected:
    afx_msg void OnPaint() {
        if (!IsIconic()) {
            CDialog::OnPaint();
            return;
        }
        CPaintDC dc(this);
        SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
        const int cx = GetSystemMetrics(SM_CXICON);
        const int cy = GetSystemMetrics(SM_CYICON);
        CRect rect;
        GetClientRect(&rect);
        dc.DrawIcon((rect.Width() - cx + 1) / 2, (rect.Height() - cy + 1) / 2, m_hIcon);
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CIconDlg, CDialog)
ON_WM_PAINT()
END_MESSAGE_MAP()

using DialogTest = AfxTest;

TEST_F(DialogTest, ARunExchangesIntoTheControlsAndBackOnOk) {
    CFormDlg dialog;
    dialog.m_strName = u"初始";
    dialog.m_strAddress = u"10.0.0.1";
    session.ExpectDialog(u"表单")
        .Run([&](HWND window) {
            EXPECT_EQ(ShownText(window, kNameId), u"初始");
            EXPECT_EQ(ShownText(window, kAddressId), u"10.0.0.1");
            EXPECT_EQ(win::headless::FocusedId(window), kGoId);
        })
        .Type(kNameId, u"新名字")
        .Type(kAddressId, u"192.168.1.")
        .Press(Key::Enter);

    EXPECT_EQ(dialog.DoModal(), IDOK);

    EXPECT_EQ(dialog.m_strName, u"新名字");
    EXPECT_EQ(dialog.m_strAddress, u"192.168.1.0");
    EXPECT_EQ(dialog.exchanges, 2);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);
    EXPECT_EQ(dialog.m_list.GetSafeHwnd(), nullptr) << "detached with its window";
}

TEST_F(DialogTest, CancelEndsWithoutExchange) {
    CFormDlg dialog;
    dialog.m_strName = u"保留";
    session.ExpectDialog(u"表单").Type(kNameId, u"丢弃").Press(Key::Escape);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_strName, u"保留");
    EXPECT_EQ(dialog.exchanges, 1);
}

TEST_F(DialogTest, ControlMembersAreAttachedByTheFirstExchangeOnly) {
    CFormDlg dialog;
    {
        afx::testing::OpenDialog open(dialog);
        const HWND list = dialog.m_list.GetSafeHwnd();
        ASSERT_NE(list, nullptr);
        EXPECT_EQ(list, GetDlgItem(dialog.GetSafeHwnd(), kListId));
        dialog.UpdateData(TRUE);
        dialog.UpdateData(FALSE);
        EXPECT_EQ(dialog.m_list.GetSafeHwnd(), list);
        EXPECT_EQ(dialog.GetDlgItem(kListId), &dialog.m_list);
        CWnd* go = dialog.GetDlgItem(kGoId);
        ASSERT_NE(go, nullptr);
        EXPECT_EQ(go, dialog.GetDlgItem(kGoId));
        EXPECT_EQ(go->GetDlgCtrlID(), kGoId);
        EXPECT_EQ(dialog.GetDlgItem(4242), nullptr);
    }
    EXPECT_EQ(dialog.m_list.GetSafeHwnd(), nullptr);
    afx::testing::OpenDialog again(dialog);
    EXPECT_EQ(dialog.m_list.GetSafeHwnd(), GetDlgItem(dialog.GetSafeHwnd(), kListId));
}

TEST_F(DialogTest, ControlClassesSendTheirControlsMessages) {
    CFormDlg dialog;
    afx::testing::OpenDialog open(dialog);
    CListBox& list = dialog.m_list;
    EXPECT_EQ(list.InsertString(-1, u"第二"), 0);
    EXPECT_EQ(list.InsertString(0, u"第一"), 0);
    EXPECT_EQ(list.GetCount(), 2);
    EXPECT_EQ(list.GetCurSel(), LB_ERR);
    EXPECT_EQ(list.SetCurSel(1), 1);
    CString line;
    EXPECT_EQ(list.GetText(1, line), 2);
    EXPECT_EQ(line, u"第二");
    EXPECT_EQ(list.GetText(5, line), LB_ERR);
    EXPECT_TRUE(line.IsEmpty());
    list.ResetContent();
    EXPECT_EQ(list.GetCurSel(), LB_ERR);

    dialog.m_chkShow.SetCheck(BST_CHECKED);
    EXPECT_EQ(dialog.m_chkShow.GetCheck(), BST_CHECKED);
    dialog.m_editName.SetPasswordChar(u'*');
    EXPECT_EQ(dialog.m_editName.GetPasswordChar(), u'*');
    EXPECT_TRUE(dialog.m_ipAddress.IsBlank());
    dialog.m_ipAddress.SetWindowText(u"8.8.8.8");
    CString address;
    dialog.m_ipAddress.GetWindowText(address);
    EXPECT_EQ(address, u"8.8.8.8");
    dialog.m_ipAddress.ClearAddress();
    EXPECT_TRUE(dialog.m_ipAddress.IsBlank());
    dialog.m_ipAddress.EnableWindow(FALSE);
    EXPECT_FALSE(dialog.m_ipAddress.IsWindowEnabled());
}

TEST_F(DialogTest, TheOwnerIsTheParentElseTheMainWindowUnlessThatIsTheDialogItself) {
    CWinApp app;
    CFormDlg main;
    app.m_pMainWnd = &main;
    afx::testing::OpenDialog openMain(main);
    EXPECT_EQ(win::FindWindow(main.GetSafeHwnd())->Owner(), nullptr);

    CFormDlg child;
    session.ExpectDialog(u"表单")
        .Run([&](HWND window) {
            EXPECT_EQ(win::FindWindow(window)->Owner(), main.GetSafeHwnd());
            EXPECT_FALSE(main.IsWindowEnabled());
        })
        .Press(Key::Escape);
    EXPECT_EQ(child.DoModal(), IDCANCEL);
    EXPECT_TRUE(main.IsWindowEnabled());

    CFormDlg other;
    afx::testing::OpenDialog openOther(other);
    CIconDlg withParent;
    withParent.Create(0, &other);
    EXPECT_EQ(win::FindWindow(withParent.GetSafeHwnd())->Owner(), other.GetSafeHwnd());

    openMain.Close();
    EXPECT_EQ(app.m_pMainWnd, nullptr) << "the main window is forgotten with its window";
}

TEST_F(DialogTest, AnOpenedDialogIsDrivenByTheTestAndItsHandlersRunNestedDialogs) {
    CFormDlg dialog;
    INT_PTR innerResult = 0;
    dialog.onGo = [&] {
        CIconDlg inner;
        innerResult = inner.DoModal();
    };
    session.ExpectDialog(u"小窗口").Press(Key::Enter);
    afx::testing::OpenDialog open(dialog);
    ASSERT_TRUE(win::input::Click(GetDlgItem(dialog.GetSafeHwnd(), kGoId)));
    EXPECT_EQ(innerResult, IDOK);
    EXPECT_FALSE(open.EndCode());
    ASSERT_TRUE(win::input::PressKey(open.Handle(), Key::Escape));
    EXPECT_EQ(open.EndCode(), IDCANCEL);
    open.Close();
    EXPECT_FALSE(open.IsOpen());
}

TEST_F(DialogTest, AMissingTemplateCannotRun) {
    CDialog dialog(4711);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.Create());
}

TEST_F(DialogTest, AMinimisedDialogPaintsItsIconInTheMiddle) {
    session.SetDialogBaseUnits(4, 8);  // the 160 x 28 unit client area is 160 x 28 pixels
    CIconDlg dialog;
    afx::testing::OpenDialog open(dialog);
    const HWND window = dialog.GetSafeHwnd();
    dialog.UpdateWindow();
    EXPECT_EQ(win::LastPaint(window),
              std::vector<win::PaintOperation>{{win::PaintKind::Background}});

    dialog.ShowWindow(SW_MINIMIZE);
    dialog.UpdateWindow();
    EXPECT_EQ(win::LastPaint(window),
              (std::vector<win::PaintOperation>{{win::PaintKind::IconBackground},
                                                {win::PaintKind::Icon, 64, -1, dialog.m_hIcon}}));
}

TEST_F(DialogTest, BoxesWithoutCaptionCarryTheApplicationsName) {
    CWinApp app;
    AfxWinInit("/usr/local/bin/quorvel");
    AfxRegisterString(103, u"Windows 套接字初始化失败。");
    CFormDlg dialog;
    afx::testing::OpenDialog open(dialog);
    session.ExpectBox(u"设备用户名或密码不能为空", u"quorvel")
        .Run([&](HWND box) { EXPECT_EQ(win::FindWindow(box)->Owner(), dialog.GetSafeHwnd()); })
        .Answer(IDOK);
    session.ExpectBox(u"Windows 套接字初始化失败。", u"quorvel").Answer(IDOK);
    session.ExpectBox(u"请先选择设备或者手动输入？", u"温馨提示").Answer(IDYES);

    EXPECT_EQ(dialog.MessageBox(u"设备用户名或密码不能为空"), IDOK);
    EXPECT_EQ(AfxMessageBox(103), IDOK);
    EXPECT_EQ(dialog.MessageBox(u"请先选择设备或者手动输入？", u"温馨提示", MB_YESNO), IDYES);
}

TEST_F(DialogTest, TheSystemMenuTakesAppendedItemsAndTheIconsAreSet) {
    CIconDlg dialog;
    afx::testing::OpenDialog open(dialog);
    CMenu* menu = dialog.GetSystemMenu(FALSE);
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->AppendMenu(MF_SEPARATOR));
    EXPECT_TRUE(menu->AppendMenu(MF_STRING, 16, u"关于 Quorvel(&A)..."));
    EXPECT_EQ(win::FindWindow(dialog.GetSafeHwnd())->SystemMenu().back().id, 16u);
    dialog.SetIcon(dialog.m_hIcon, TRUE);
    dialog.SetIcon(dialog.m_hIcon, FALSE);
    EXPECT_EQ(win::FindWindow(dialog.GetSafeHwnd())->Icon(ICON_BIG), dialog.m_hIcon);
    EXPECT_EQ(win::FindWindow(dialog.GetSafeHwnd())->Icon(ICON_SMALL), dialog.m_hIcon);
}

}  // namespace
}  // namespace afx_test
