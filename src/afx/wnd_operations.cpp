// CWnd's calls on its window: each one is the window system's call of the same name.
#include "afx/win_app.h"
#include "afx/wnd.h"
#include "win/message_box.h"

void CWnd::SetWindowText(const char16_t* text) {
    win::SetWindowTextW(m_hWnd.load(), text);
}

void CWnd::GetWindowText(CString& text) const {
    text = CString(win::GetWindowTextString(m_hWnd.load()));
}

int CWnd::GetWindowTextLength() const {
    return win::GetWindowTextLengthW(m_hWnd.load());
}

win::BOOL CWnd::EnableWindow(win::BOOL bEnable) {
    return win::EnableWindow(m_hWnd.load(), bEnable);
}

win::BOOL CWnd::IsWindowEnabled() const {
    return win::IsWindowEnabled(m_hWnd.load());
}

win::BOOL CWnd::ShowWindow(int nCmdShow) {
    return win::ShowWindow(m_hWnd.load(), nCmdShow);
}

CWnd* CWnd::SetFocus() {
    return FromHandlePermanent(win::SetFocus(m_hWnd.load()));
}

win::BOOL CWnd::IsIconic() const {
    return win::IsIconic(m_hWnd.load());
}

win::DWORD CWnd::GetStyle() const {
    return win::GetWindowLongW(m_hWnd.load(), win::GWL_STYLE);
}

void CWnd::CenterWindow() {
    win::CenterWindowOverOwner(m_hWnd.load());
}

void CWnd::GetClientRect(win::RECT* rect) const {
    win::GetClientRect(m_hWnd.load(), rect);
}

win::HICON CWnd::SetIcon(win::HICON icon, win::BOOL bBigIcon) {
    return reinterpret_cast<win::HICON>(SendMessage(win::WM_SETICON,
                                                    bBigIcon ? win::ICON_BIG : win::ICON_SMALL,
                                                    reinterpret_cast<win::LPARAM>(icon)));
}

void CWnd::UpdateWindow() const {
    win::UpdateWindow(m_hWnd.load());
}

win::BOOL CWnd::DestroyWindow() {
    return win::DestroyWindow(m_hWnd.load());
}

int CWnd::GetDlgCtrlID() const {
    return win::GetDlgCtrlID(m_hWnd.load());
}

win::LRESULT CWnd::SendMessage(win::UINT message, win::WPARAM wParam, win::LPARAM lParam) const {
    return win::SendMessageW(m_hWnd.load(), message, wParam, lParam);
}

int CWnd::MessageBox(const char16_t* text, const char16_t* caption, win::UINT type) const {
    if (caption == nullptr) {
        const char16_t* name = AfxGetAppName();
        caption = name != nullptr && *name != u'\0' ? name : nullptr;
    }
    return win::MessageBoxW(m_hWnd.load(), text, caption, type);
}
