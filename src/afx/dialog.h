// CDialog: a dialog from a registered template (win::RegisterDialogTemplate), run modally.
#pragma once

#include "afx/wnd.h"
#include "win/types.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
  public:
    // The owner is `pParentWnd`, else the application's main window unless that is this
    // dialog, else none.
    explicit CDialog(win::UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // A window still open (a dialog opened with Create) is destroyed without reaching the
    // object, whose derived parts are gone by then.
    ~CDialog() override;

    // Creates the dialog, runs OnInitDialog, shows it with its owner disabled and runs its
    // modal loop until EndDialog; then destroys the window and returns the end code (IDOK,
    // IDCANCEL, ...); -1 when the template is missing or no loop can run. Unless the dialog
    // showed itself in OnInitDialog or its template places it (DS_CENTER, DS_CENTERMOUSE,
    // DS_ABSALIGN), it appears centred over its owner, or on the work area without one.
    virtual win::INT_PTR DoModal();
    // The same up to and including the show, without the modal loop and without disabling the
    // owner: the caller drives the dialog and destroys it (tests: afx/testing/open_dialog.h).
    // A template id of 0 means the constructor's.
    win::BOOL Create(win::UINT nIDTemplate = 0, CWnd* pParentWnd = nullptr);

    // UpdateData(FALSE), then TRUE (the first tab stop gets the focus).
    virtual win::BOOL OnInitDialog();
    // UpdateData(TRUE), then EndDialog(IDOK) when that succeeded.
    virtual void OnOK();
    // EndDialog(IDCANCEL).
    virtual void OnCancel();
    void EndDialog(int nResult);

    // The default handling (Default()).
    afx_msg void OnSysCommand(win::UINT nID, win::LPARAM lParam);
    afx_msg void OnPaint();

    win::LRESULT WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) override;
    // The dialog's maps, then (for command ids 0x8000 to 0xEFFF) the application's.
    bool OnCmdMsg(win::UINT nID, int nCode) override;

    win::UINT GetTemplateId() const { return m_nIDTemplate; }

  protected:
    win::UINT m_nIDTemplate;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

  private:
    win::HWND OwnerWindow() const;
    win::WindowProcedure Procedure();
    void CentreAfterInitialisation();

    bool inModalRun_ = false;  // DoModal runs: the owner is disabled while the dialog is open
};
