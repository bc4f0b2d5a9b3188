// Data exchange between a dialog's controls and its members (UpdateData runs DoDataExchange).
#pragma once

#include "afx/cstring.h"
#include "win/types.h"

class CWnd;

class CDataExchange {
  public:
    CDataExchange(CWnd* dialog, win::BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

    win::BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
};

// The control's whole window text into `value` (saving), or `value` into the control.
void DDX_Text(CDataExchange* pDX, int nIDC, CString& value);
// The first exchange attaches `control` to the dialog's control `nIDC`; later ones change
// nothing. The member is detached when its window is destroyed.
void DDX_Control(CDataExchange* pDX, int nIDC, class CWnd& control);
