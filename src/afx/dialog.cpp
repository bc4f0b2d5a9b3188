#include "afx/dialog.h"

#include "afx/detail/handle_map.h"
#include "afx/win_app.h"
#include "win/dialog.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(win::IDOK, &CDialog::OnOK)
ON_COMMAND(win::IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

namespace {

// Command ids that a dialog leaves to the application (ID_HELP among them).
constexpr win::UINT kFirstCommandId = 0x8000;
constexpr win::UINT kFirstSystemCommandId = 0xF000;

}  // namespace

CDialog::CDialog(win::UINT nIDTemplate, CWnd* pParentWnd)
    : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() {
    const win::HWND window = UnsubclassWindow();
    if (window != nullptr) {
        win::SubclassWindow(window, win::DefDlgProcW);
        win::DestroyWindow(window);
    }
}

win::HWND CDialog::OwnerWindow() const {
    if (m_pParentWnd != nullptr) {
        return m_pParentWnd->GetSafeHwnd();
    }
    CWnd* main = AfxGetMainWnd();
    return main != nullptr && main != this ? main->GetSafeHwnd() : nullptr;
}

win::WindowProcedure CDialog::Procedure() {
    return [this](win::HWND window, win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
        if (GetSafeHwnd() == nullptr) {
            // The first message of a new dialog window: from now on it is this object's.
            AttachWithSuper(window, win::DefDlgProcW);
        }
        return CallWndProc(this, window, message, wParam, lParam);
    };
}

win::INT_PTR CDialog::DoModal() {
    const std::optional<win::DialogTemplate> dialogTemplate =
        win::FindDialogTemplate(static_cast<int>(m_nIDTemplate));
    if (!dialogTemplate || GetSafeHwnd() != nullptr) {
        return -1;
    }
    inModalRun_ = true;
    const win::INT_PTR result =
        win::DialogBoxIndirectParamW(*dialogTemplate, OwnerWindow(), Procedure());
    inModalRun_ = false;
    return result;
}

win::BOOL CDialog::Create(win::UINT nIDTemplate, CWnd* pParentWnd) {
    if (nIDTemplate != 0) {
        m_nIDTemplate = nIDTemplate;
    }
    if (pParentWnd != nullptr) {
        m_pParentWnd = pParentWnd;
    }
    const std::optional<win::DialogTemplate> dialogTemplate =
        win::FindDialogTemplate(static_cast<int>(m_nIDTemplate));
    if (!dialogTemplate || GetSafeHwnd() != nullptr) {
        return FALSE;
    }
    return win::CreateDialogIndirectParamW(*dialogTemplate, OwnerWindow(), Procedure()) != nullptr
               ? TRUE
               : FALSE;
}

win::BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(win::IDOK);
}

void CDialog::OnCancel() {
    EndDialog(win::IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    win::EndDialog(GetSafeHwnd(), nResult);
}

void CDialog::OnSysCommand(win::UINT, win::LPARAM) {
    Default();
}

void CDialog::OnPaint() {
    Default();
}

win::LRESULT CDialog::WindowProc(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) {
    if (message == win::WM_INITDIALOG) {
        const win::BOOL result = OnInitDialog();
        CentreAfterInitialisation();
        return result;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

// The class library centres the dialogs it runs: over the owner that the modal run disables, or
// on the work area when there is none. A dialog left where it is: one that showed itself while it
// initialised, one whose template says where it goes, one with an owner that stays usable (made
// with Create). Nothing here moves a window, so none can have moved itself meanwhile.
void CDialog::CentreAfterInitialisation() {
    const win::HWND window = GetSafeHwnd();
    if (window == nullptr || win::IsWindowVisible(window)) {
        return;
    }
    if ((GetStyle() & (win::DS_CENTER | win::DS_CENTERMOUSE | win::DS_ABSALIGN)) != 0) {
        return;
    }
    if (win::GetParent(window) != nullptr && !inModalRun_) {
        return;
    }
    CenterWindow();
}

bool CDialog::OnCmdMsg(win::UINT nID, int nCode) {
    if (CWnd::OnCmdMsg(nID, nCode)) {
        return true;
    }
    if (nCode != 0 || nID < kFirstCommandId || nID >= kFirstSystemCommandId) {
        return false;
    }
    CWinApp* app = AfxGetApp();
    return app != nullptr && app->OnCmdMsg(nID, nCode);
}
