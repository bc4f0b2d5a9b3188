// The device-ID dialog: the ID of a device to reboot, typed by the operator.
#pragma once

#include "afx/afx.h"

class CDevId : public CDialog {
    DECLARE_DYNAMIC(CDevId)
  public:
    explicit CDevId(CWnd* pParent = nullptr);
    ~CDevId() override;

    enum { IDD = 105 };

    void GetDevId(CString& id) const;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnBnClickedOk();
    DECLARE_MESSAGE_MAP()

    CString m_strDevId;
};
