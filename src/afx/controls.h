// The control classes: thin CWnd objects that send their control's messages.
#pragma once

#include "afx/cstring.h"
#include "afx/wnd.h"

class CListBox : public CWnd {
    DECLARE_DYNAMIC(CListBox)
  public:
    int GetCount() const;
    int GetCurSel() const;  // LB_ERR (-1) when no line is selected
    int SetCurSel(int index);
    int GetText(int index, CString& text) const;  // LB_ERR for a line that does not exist
    int GetTextLen(int index) const;
    // -1 appends; a line inserted at an index stays there, whatever LBS_SORT says.
    int InsertString(int index, const char16_t* text);
    void ResetContent();
};

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
  public:
    void SetPasswordChar(char16_t ch);  // 0: the text is shown as typed
    char16_t GetPasswordChar() const;
};

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
  public:
    int GetCheck() const;
    void SetCheck(int nCheck);  // from code: no BN_CLICKED
};

// Dotted IPv4 text through GetWindowText / SetWindowText; the empty text blanks it.
class CIPAddressCtrl : public CWnd {
    DECLARE_DYNAMIC(CIPAddressCtrl)
  public:
    win::BOOL IsBlank() const;
    void ClearAddress();
};
