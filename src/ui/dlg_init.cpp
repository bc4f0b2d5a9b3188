// The main dialog's initialisation: system menu, icons, endpoint, session id, worker, panel,
// first search. The order matters: the session id exists before any request is built or any
// reply is checked, and the worker runs before the first request leaves.
#include "net/udp_endpoint.h"
#include "platform/kernel.h"
#include "ui/quorvel_dlg.h"
#include "ui/resource.h"

BOOL CQuorvelDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    if (CMenu* pSysMenu = GetSystemMenu(FALSE)) {
        CString strAboutMenu;
        strAboutMenu.LoadString(IDS_ABOUTBOX);
        if (!strAboutMenu.IsEmpty()) {
            pSysMenu->AppendMenu(MF_SEPARATOR);
            pSysMenu->AppendMenu(MF_STRING, IDM_ABOUTBOX, strAboutMenu);
        }
    }

    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);

    if (!net::SetUpUdpEndpoint(m_sock)) {
        return TRUE;
    }
    m_dwSessionId = plat::GetTickCount();
    Start();

    for (int row = 0; row < kRows; ++row) {
        ResetNicRow(row, TRUE, FALSE);
    }
    OnBnClickedSearch();
    return TRUE;
}
