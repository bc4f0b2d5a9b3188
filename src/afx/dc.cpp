#include "afx/dc.h"

#include "afx/wnd.h"

win::BOOL CDC::DrawIcon(int x, int y, win::HICON icon) {
    return win::DrawIcon(m_hDC, x, y, icon);
}

CPaintDC::CPaintDC(CWnd* wnd) : window_(wnd != nullptr ? wnd->GetSafeHwnd() : nullptr) {
    m_hDC = win::BeginPaint(window_, &m_ps);
}

CPaintDC::~CPaintDC() {
    win::EndPaint(window_, &m_ps);
}
