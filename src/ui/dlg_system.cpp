// System menu, the minimised window's icon, and the device's web page.
#include "protocol/list_line.h"
#include "ui/about_dlg.h"
#include "ui/quorvel_dlg.h"
#include "ui/resource.h"

namespace {
// The window system keeps the low four bits of a system command for itself.
constexpr UINT kSystemCommandMask = 0xFFF0;
}  // namespace

void CQuorvelDlg::OnSysCommand(UINT nID, LPARAM lParam) {
    if ((nID & kSystemCommandMask) == IDM_ABOUTBOX) {
        CAboutDlg dlgAbout;
        dlgAbout.DoModal();
    } else {
        CDialog::OnSysCommand(nID, lParam);
    }
}

void CQuorvelDlg::OnPaint() {
    if (!IsIconic()) {
        CDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    const int cxIcon = GetSystemMetrics(SM_CXICON);
    const int cyIcon = GetSystemMetrics(SM_CYICON);
    CRect rect;
    GetClientRect(&rect);
    const int x = (rect.Width() - cxIcon + 1) / 2;
    const int y = (rect.Height() - cyIcon + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CQuorvelDlg::OnQueryDragIcon() {
    return static_cast<HCURSOR>(m_hIcon);
}

void CQuorvelDlg::OnLbnDblclkList() {
    const int sel = m_list.GetCurSel();
    if (sel < 0) {
        return;
    }
    CString line;
    m_list.GetText(sel, line);
    const std::u16string address = protocol::AddressFromLine(line.Str());
    if (address.empty()) {
        return;
    }
    const CString url = CString(u"http://") + address.c_str();
    ShellExecuteW(nullptr, u"open", url, nullptr, nullptr, SW_SHOW);
}
