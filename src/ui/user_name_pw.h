// The credential dialog: the device's user name and password for one request.
#pragma once

#include "afx/afx.h"

class CUserNamePw : public CDialog {
    DECLARE_DYNAMIC(CUserNamePw)
  public:
    explicit CUserNamePw(CWnd* pParent = nullptr);
    ~CUserNamePw() override;

    enum { IDD = 104 };

    // The texts confirmed with OK.
    void GetUserPw(CString& user, CString& pw) const;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    afx_msg void OnBnClickedShow();
    afx_msg void OnBnClickedOk();
    DECLARE_MESSAGE_MAP()

    CString m_strUser;
    CString m_strPw;
    CButton m_chkShow;
    CEdit m_editPw;
};
