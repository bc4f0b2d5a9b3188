#include "ui/user_name_pw.h"

#include "protocol/ansi_text.h"
#include "protocol/credentials.h"
#include "protocol/text_conversion.h"
#include "ui/field_messages.h"
#include "ui/program_resources.h"
#include "ui/resource.h"

namespace {

// The request fields hold 19 bytes of text in code page 936 and a terminating zero. A cut
// password would fail at the device with no clue why, so a longer text is refused here.
bool FitsRequestField(const CString& text) {
    return protocol::FitsInField(protocol::WideToAnsi(text.Str()), protocol::kCredentialFieldSize);
}

}  // namespace

IMPLEMENT_DYNAMIC(CUserNamePw, CDialog)

CUserNamePw::CUserNamePw(CWnd* pParent) : CDialog(IDD, pParent) {
    LoadProgramResources();
}

CUserNamePw::~CUserNamePw() = default;

void CUserNamePw::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_USERNAME, m_strUser);
    DDX_Text(pDX, IDC_PASSWORD, m_strPw);
    DDX_Control(pDX, IDC_SHOW_PASSWORD, m_chkShow);
    DDX_Control(pDX, IDC_PASSWORD, m_editPw);
}

BEGIN_MESSAGE_MAP(CUserNamePw, CDialog)
ON_BN_CLICKED(IDC_SHOW_PASSWORD, &CUserNamePw::OnBnClickedShow)
ON_BN_CLICKED(IDOK, &CUserNamePw::OnBnClickedOk)
END_MESSAGE_MAP()

void CUserNamePw::OnBnClickedShow() {
    UpdateData(TRUE);
    m_editPw.SetPasswordChar(m_chkShow.GetCheck() != 0 ? u'\0' : u'*');
    UpdateData(FALSE);
}

void CUserNamePw::OnBnClickedOk() {
    UpdateData(TRUE);
    if (m_strUser.GetLength() < 1 || m_strPw.GetLength() < 1) {
        MessageBox(u"设备用户名或密码不能为空");
        return;
    }
    if (!FitsRequestField(m_strUser)) {
        MessageBox(kUserNameTooLong);
        return;
    }
    if (!FitsRequestField(m_strPw)) {
        MessageBox(kPasswordTooLong);
        return;
    }
    CDialog::OnOK();
}

void CUserNamePw::GetUserPw(CString& user, CString& pw) const {
    user = m_strUser;
    pw = m_strPw;
}
