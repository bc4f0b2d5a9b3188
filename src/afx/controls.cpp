#include "afx/controls.h"

#include "win/ui_thread.h"

IMPLEMENT_DYNAMIC(CListBox, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CIPAddressCtrl, CWnd)

int CListBox::GetCount() const {
    return static_cast<int>(SendMessage(win::LB_GETCOUNT));
}

int CListBox::GetCurSel() const {
    return static_cast<int>(SendMessage(win::LB_GETCURSEL));
}

int CListBox::SetCurSel(int index) {
    return static_cast<int>(SendMessage(win::LB_SETCURSEL, static_cast<win::WPARAM>(index)));
}

int CListBox::GetTextLen(int index) const {
    return static_cast<int>(SendMessage(win::LB_GETTEXTLEN, static_cast<win::WPARAM>(index)));
}

int CListBox::GetText(int index, CString& text) const {
    // Length and text in one go on the UI thread, so no change comes between them.
    int result = static_cast<int>(win::LB_ERR);
    std::u16string line;
    win::RunOnUiThread([&] {
        const int length = GetTextLen(index);
        if (length < 0) {
            return;
        }
        line.assign(static_cast<std::size_t>(length) + 1, u'\0');
        result = static_cast<int>(SendMessage(win::LB_GETTEXT, static_cast<win::WPARAM>(index),
                                              reinterpret_cast<win::LPARAM>(line.data())));
        line.resize(static_cast<std::size_t>(result < 0 ? 0 : result));
    });
    text = CString(std::move(line));
    return result;
}

int CListBox::InsertString(int index, const char16_t* text) {
    return static_cast<int>(SendMessage(win::LB_INSERTSTRING, static_cast<win::WPARAM>(index),
                                        reinterpret_cast<win::LPARAM>(text)));
}

void CListBox::ResetContent() {
    SendMessage(win::LB_RESETCONTENT);
}

void CEdit::SetPasswordChar(char16_t ch) {
    SendMessage(win::EM_SETPASSWORDCHAR, ch);
}

char16_t CEdit::GetPasswordChar() const {
    return static_cast<char16_t>(SendMessage(win::EM_GETPASSWORDCHAR));
}

int CButton::GetCheck() const {
    return static_cast<int>(SendMessage(win::BM_GETCHECK));
}

void CButton::SetCheck(int nCheck) {
    SendMessage(win::BM_SETCHECK, static_cast<win::WPARAM>(nCheck));
}

win::BOOL CIPAddressCtrl::IsBlank() const {
    return GetWindowTextLength() == 0;
}

void CIPAddressCtrl::ClearAddress() {
    SetWindowText(u"");
}
