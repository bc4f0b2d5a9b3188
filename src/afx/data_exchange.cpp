#include "afx/data_exchange.h"

#include "afx/wnd.h"
#include "win/window_api.h"

namespace {

win::HWND ControlOf(const CDataExchange* pDX, int nIDC) {
    if (pDX == nullptr || pDX->m_pDlgWnd == nullptr) {
        return nullptr;
    }
    return win::GetDlgItem(pDX->m_pDlgWnd->GetSafeHwnd(), nIDC);
}

}  // namespace

void DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
    const win::HWND control = ControlOf(pDX, nIDC);
    if (control == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = CString(win::GetWindowTextString(control));
    } else {
        win::SetWindowTextW(control, value.GetString());
    }
}

void DDX_Control(CDataExchange* pDX, int nIDC, CWnd& control) {
    if (control.GetSafeHwnd() != nullptr) {
        return;  // attached by an earlier exchange
    }
    const win::HWND window = ControlOf(pDX, nIDC);
    if (window != nullptr) {
        control.SubclassWindow(window);
    }
}
