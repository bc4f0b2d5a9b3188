// The search: clear the panel and the list, then send the search request everywhere.
#include "platform/kernel.h"
#include "platform/output.h"
#include "protocol/search_request.h"
#include "ui/quorvel_dlg.h"

namespace {
// Gives the first replies a moment before the panel is shown again.
constexpr plat::DWORD kSettleMs = 100;
}  // namespace

void CQuorvelDlg::OnBnClickedSearch() {
    m_bResultShown = 0;
    for (int row = 0; row < kRows; ++row) {
        ResetNicRow(row, TRUE, FALSE);
    }
    for (int row = 0; row < kRows; ++row) {
        SetNicRowData(row, u"", u"", u"", u"", 0);
    }
    SetDnsData(u"", u"");
    ++m_nSearch;
    SendMessageW(m_list.GetSafeHwnd(), LB_RESETCONTENT, 0, 0);

    const std::vector<std::uint8_t> request = protocol::BuildSearchRequest(m_dwSessionId);
    const int result = SendRequest(request);
    if (result == -1) {
        CString line;
        line.Format(u"%d\n", result);
        plat::OutputDebugStringW(line);
    }
    plat::Sleep(kSettleMs);
    UpdateData(FALSE);
}
