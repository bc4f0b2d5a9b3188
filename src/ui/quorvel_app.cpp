#include "ui/quorvel_app.h"

#include "ui/program_resources.h"
#include "ui/quorvel_dlg.h"
#include "ui/resource.h"

BEGIN_MESSAGE_MAP(CQuorvelApp, CWinApp)
ON_COMMAND(ID_HELP, &CWinApp::OnHelp)
END_MESSAGE_MAP()

CQuorvelApp::CQuorvelApp() {
    LoadProgramResources();
}

BOOL CQuorvelApp::InitInstance() {
    INITCOMMONCONTROLSEX InitCtrls;
    InitCtrls.dwSize = sizeof(InitCtrls);
    InitCtrls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&InitCtrls);

    CWinApp::InitInstance();

    if (!AfxSocketInit()) {
        AfxMessageBox(IDP_SOCKETS_INIT_FAILED);
        return FALSE;
    }

    AfxEnableControlContainer();
    SetRegistryKey(u"应用程序向导生成的本地应用程序");

    CQuorvelDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    // The dialog's object goes at the end of this scope; nothing may find it through here.
    m_pMainWnd = nullptr;
    return FALSE;
}
