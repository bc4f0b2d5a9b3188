// What the three requests share: the credentials of the device and the send to every address.
#include "net/lan_sender.h"
#include "protocol/text_conversion.h"
#include "ui/quorvel_dlg.h"
#include "ui/user_name_pw.h"

bool CQuorvelDlg::AskCredentials(protocol::Credentials& credentials) {
    CUserNamePw credentialDialog;
    if (credentialDialog.DoModal() != IDOK) {
        return false;
    }
    CString user;
    CString pw;
    credentialDialog.GetUserPw(user, pw);
    credentials = {protocol::WideToAnsi(user.Str()), protocol::WideToAnsi(pw.Str())};
    return true;
}

int CQuorvelDlg::SendRequest(const std::vector<std::uint8_t>& request) {
    return net::SendToAllAdapters(m_sock, reinterpret_cast<const char*>(request.data()),
                                  static_cast<int>(request.size()));
}
