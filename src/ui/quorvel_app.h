// The application object: starts the libraries and runs the main dialog once.
#pragma once

#include "afx/afx.h"

class CQuorvelApp : public CWinApp {
  public:
    CQuorvelApp();
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
