// The network-configuration panel: three interface rows and the DNS row.
//
// Displayed texts and bound strings are separate copies: ResetNicRow writes only what is shown,
// SetNicRowData and SetDnsData only the bound strings; the data exchange copies between them.
#include "protocol/text_conversion.h"
#include "ui/quorvel_dlg.h"

namespace {

bool IsRow(int row) {
    return row >= 0 && row < CQuorvelDlg::kRows;
}

// An interface entry whose address is all zeros is a placeholder; devices with more than three
// interfaces report them, and the panel shows the next real one in its place.
constexpr const char* kUnsetAddress = "0.0.0.0";
constexpr std::size_t kMaxEntriesWithoutSkipping = 3;

CString Wide(const std::string& ansi) {
    return CString(protocol::AnsiToWide(ansi));
}

}  // namespace

void CQuorvelDlg::ResetNicRow(int row, BOOL clear, BOOL enable) {
    if (!IsRow(row)) {
        return;
    }
    if (clear) {
        m_editName[row].SetWindowText(u"");
        m_ipAddr[row].SetWindowText(u"");
        m_ipMask[row].SetWindowText(u"");
        m_ipGateway[row].SetWindowText(u"");
        m_chkAuto[row].SetCheck(0);
    }
    m_ipAddr[row].EnableWindow(enable);
    m_ipMask[row].EnableWindow(enable);
    m_ipGateway[row].EnableWindow(enable);
    if (!enable) {
        m_chkAuto[row].SetCheck(1);
    }
}

void CQuorvelDlg::SetNicRowData(int row, CString name, CString ip, CString mask, CString gateway,
                                int obtainAutomatically) {
    if (!IsRow(row)) {
        return;
    }
    m_chkAuto[row].SetCheck(obtainAutomatically != 0 ? 1 : 0);
    if (obtainAutomatically != 0) {
        ResetNicRow(row, TRUE, FALSE);
    }
    m_strName[row] = name;
    m_strIp[row] = ip;
    m_strMask[row] = mask;
    m_strGateway[row] = gateway;
}

void CQuorvelDlg::SetDnsData(CString preferred, CString alternate) {
    m_strDns1 = preferred;
    m_strDns2 = alternate;
}

void CQuorvelDlg::OnLbnSelchangeList() {
    const int sel = m_list.GetCurSel();
    if (sel < 0 || static_cast<std::size_t>(sel) >= m_devices.size()) {
        return;
    }
    const protocol::CDeviceRecord& rec = m_devices[static_cast<std::size_t>(sel)];
    const bool skipUnset = rec.nics.size() > kMaxEntriesWithoutSkipping;

    int row = 0;
    for (const protocol::NicEntry& nic : rec.nics) {
        if (skipUnset && nic.Ip() == kUnsetAddress) {
            continue;
        }
        ResetNicRow(row, TRUE, TRUE);
        SetNicRowData(row, Wide(nic.Name()), Wide(nic.Ip()), Wide(nic.Mask()), Wide(nic.Gateway()),
                      nic.ObtainsAutomatically() ? 1 : 0);
        ++row;
    }
    SetDnsData(Wide(rec.info.PreferredDns()), Wide(rec.info.AlternateDns()));
    UpdateData(FALSE);
    plat::OutputDebugStringW(u"");
}

void CQuorvelDlg::OnBnClickedAuto(int row) {
    const BOOL manual = m_chkAuto[row].GetCheck() > 0 ? FALSE : TRUE;
    m_ipAddr[row].EnableWindow(manual);
    m_ipMask[row].EnableWindow(manual);
    m_ipGateway[row].EnableWindow(manual);
}

void CQuorvelDlg::OnBnClickedAuto1() {
    OnBnClickedAuto(0);
}
void CQuorvelDlg::OnBnClickedAuto2() {
    OnBnClickedAuto(1);
}
void CQuorvelDlg::OnBnClickedAuto3() {
    OnBnClickedAuto(2);
}

void CQuorvelDlg::OnBnClickedDnsAuto() {
    m_chkDnsAuto.SetCheck(m_chkDnsAuto.GetCheck() > 0 ? 1 : 0);
    const BOOL manual = m_chkDnsAuto.GetCheck() > 0 ? FALSE : TRUE;
    m_ipDns1.EnableWindow(manual);
    m_ipDns2.EnableWindow(manual);
}
