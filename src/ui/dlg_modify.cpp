// The modify request: the panel's settings for the selected device.
#include <array>
#include <vector>

#include "platform/output.h"
#include "protocol/modify_request.h"
#include "protocol/text_conversion.h"
#include "ui/quorvel_dlg.h"

namespace {
std::string Ansi(const CString& text) {
    return protocol::WideToAnsi(text.Str());
}
}  // namespace

void CQuorvelDlg::GetNicRow(int row, std::string& name, std::string& ip, std::string& mask,
                            std::string& gateway, int& obtainAutomatically) const {
    if (row < 0 || row >= kRows) {
        return;
    }
    name = Ansi(m_strName[row]);
    ip = Ansi(m_strIp[row]);
    mask = Ansi(m_strMask[row]);
    gateway = Ansi(m_strGateway[row]);
    obtainAutomatically = m_chkAuto[row].GetCheck();
}

void CQuorvelDlg::GetDnsSettings(std::string& preferred, std::string& alternate,
                                 int& obtainAutomatically) const {
    preferred = Ansi(m_strDns1);
    alternate = Ansi(m_strDns2);
    obtainAutomatically = m_chkDnsAuto.GetCheck();
}

void CQuorvelDlg::OnBnClickedModify() {
    m_bResultShown = 0;
    UpdateData(TRUE);

    const int sel = m_list.GetCurSel();
    if (sel < 0) {
        MessageBox(u"请先选择设备");
        return;
    }
    const std::size_t n = protocol::ModifyEntryCount(
        {!m_strName[0].IsEmpty(), !m_strName[1].IsEmpty(), !m_strName[2].IsEmpty()});

    protocol::Credentials credentials;
    if (!AskCredentials(credentials)) {
        return;
    }

    protocol::DnsSettings dns;
    int dnsFlag = 0;
    GetDnsSettings(dns.preferred, dns.alternate, dnsFlag);
    dns.obtainAutomatically = static_cast<std::uint32_t>(dnsFlag);

    std::vector<protocol::NicRow> rows(n);
    for (std::size_t k = 0; k < n; ++k) {
        int rowFlag = 0;
        GetNicRow(static_cast<int>(k), rows[k].name, rows[k].ip, rows[k].mask, rows[k].gateway,
                  rowFlag);
        rows[k].obtainAutomatically = static_cast<std::uint32_t>(rowFlag);
    }

    const std::vector<std::uint8_t> request = protocol::BuildModifyRequest(
        m_dwSessionId, credentials, m_devices[static_cast<std::size_t>(sel)], dns, rows);
    if (SendRequest(request) == -1) {
        CString line;
        line.Format(u"%s\n", u"修改请求发送失败");
        plat::OutputDebugStringW(line);
    }
}
