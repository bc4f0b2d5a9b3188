// The main dialog object: construction, teardown, data exchange and message map.
#include "ui/quorvel_dlg.h"

#include "ui/program_resources.h"
#include "ui/resource.h"

CQuorvelDlg::CQuorvelDlg(CWnd* pParent) : CDialog(IDD, pParent) {
    LoadProgramResources();
    m_hIcon = LoadIconW(AfxGetInstanceHandle(), IDR_MAINFRAME);
}

CQuorvelDlg::~CQuorvelDlg() {
    // The worker uses the members below; it must have ended before the first of them goes,
    // whatever it was doing (waiting, blocked in its receive, holding a box open).
    Stop();
}

void CQuorvelDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_LIST, m_list);
    for (int r = 0; r < kRows; ++r) {
        DDX_Control(pDX, IDC_NAME1 + IDC_ROW_STRIDE * r, m_editName[r]);
    }
    for (int r = 0; r < kRows; ++r) {
        DDX_Control(pDX, IDC_IP1 + IDC_ROW_STRIDE * r, m_ipAddr[r]);
    }
    for (int r = 0; r < kRows; ++r) {
        DDX_Control(pDX, IDC_MASK1 + IDC_ROW_STRIDE * r, m_ipMask[r]);
    }
    for (int r = 0; r < kRows; ++r) {
        DDX_Control(pDX, IDC_GATEWAY1 + IDC_ROW_STRIDE * r, m_ipGateway[r]);
    }
    for (int r = 0; r < kRows; ++r) {
        DDX_Control(pDX, IDC_AUTO1 + IDC_ROW_STRIDE * r, m_chkAuto[r]);
    }
    for (int r = 0; r < kRows; ++r) {
        DDX_Text(pDX, IDC_NAME1 + IDC_ROW_STRIDE * r, m_strName[r]);
    }
    for (int r = 0; r < kRows; ++r) {
        DDX_Text(pDX, IDC_IP1 + IDC_ROW_STRIDE * r, m_strIp[r]);
    }
    for (int r = 0; r < kRows; ++r) {
        DDX_Text(pDX, IDC_MASK1 + IDC_ROW_STRIDE * r, m_strMask[r]);
    }
    for (int r = 0; r < kRows; ++r) {
        DDX_Text(pDX, IDC_GATEWAY1 + IDC_ROW_STRIDE * r, m_strGateway[r]);
    }
    DDX_Control(pDX, IDC_DNS1, m_ipDns1);
    DDX_Control(pDX, IDC_DNS2, m_ipDns2);
    DDX_Control(pDX, IDC_DNS_AUTO, m_chkDnsAuto);
    DDX_Text(pDX, IDC_DNS1, m_strDns1);
    DDX_Text(pDX, IDC_DNS2, m_strDns2);
}

BEGIN_MESSAGE_MAP(CQuorvelDlg, CDialog)
ON_WM_SYSCOMMAND()
ON_WM_PAINT()
ON_WM_QUERYDRAGICON()
ON_BN_CLICKED(IDC_SEARCH, &CQuorvelDlg::OnBnClickedSearch)
ON_LBN_SELCHANGE(IDC_LIST, &CQuorvelDlg::OnLbnSelchangeList)
ON_BN_CLICKED(IDC_AUTO1, &CQuorvelDlg::OnBnClickedAuto1)
ON_BN_CLICKED(IDC_AUTO1 + IDC_ROW_STRIDE, &CQuorvelDlg::OnBnClickedAuto2)
ON_BN_CLICKED(IDC_AUTO1 + 2 * IDC_ROW_STRIDE, &CQuorvelDlg::OnBnClickedAuto3)
ON_BN_CLICKED(IDC_MODIFY, &CQuorvelDlg::OnBnClickedModify)
ON_BN_CLICKED(IDC_REBOOT, &CQuorvelDlg::OnBnClickedReboot)
ON_BN_CLICKED(IDC_DNS_AUTO, &CQuorvelDlg::OnBnClickedDnsAuto)
ON_LBN_DBLCLK(IDC_LIST, &CQuorvelDlg::OnLbnDblclkList)
END_MESSAGE_MAP()
