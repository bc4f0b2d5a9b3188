// The about box.
#pragma once

#include "afx/afx.h"

class CAboutDlg : public CDialog {
  public:
    CAboutDlg();
    enum { IDD = 100 };

  protected:
    DECLARE_MESSAGE_MAP()
};
