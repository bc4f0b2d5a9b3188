#include "ui/dev_id.h"

#include "ui/program_resources.h"
#include "ui/resource.h"

IMPLEMENT_DYNAMIC(CDevId, CDialog)

CDevId::CDevId(CWnd* pParent) : CDialog(IDD, pParent) {
    LoadProgramResources();
}

CDevId::~CDevId() = default;

void CDevId::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_DEVID, m_strDevId);
}

BEGIN_MESSAGE_MAP(CDevId, CDialog)
ON_BN_CLICKED(IDOK, &CDevId::OnBnClickedOk)
END_MESSAGE_MAP()

void CDevId::OnBnClickedOk() {
    UpdateData(TRUE);
    if (m_strDevId.GetLength() < 1) {
        MessageBox(u"设备ID不能为空");
        return;
    }
    CDialog::OnOK();
}

void CDevId::GetDevId(CString& id) const {
    id = m_strDevId;
}
