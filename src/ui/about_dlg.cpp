#include "ui/about_dlg.h"

#include "ui/program_resources.h"

CAboutDlg::CAboutDlg() : CDialog(IDD) {
    LoadProgramResources();
}

BEGIN_MESSAGE_MAP(CAboutDlg, CDialog)
END_MESSAGE_MAP()
