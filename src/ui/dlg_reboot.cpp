// The reboot request: the selected device, or one whose ID the operator types.
#include <optional>
#include <string>

#include "platform/output.h"
#include "protocol/ansi_text.h"
#include "protocol/reboot_request.h"
#include "protocol/text_conversion.h"
#include "ui/dev_id.h"
#include "ui/field_messages.h"
#include "ui/quorvel_dlg.h"

void CQuorvelDlg::OnBnClickedReboot() {
    m_bResultShown = 0;
    UpdateData(TRUE);

    std::string deviceId;
    const int sel = m_list.GetCurSel();
    if (sel >= 0) {
        const std::optional<std::string> serial =
            protocol::RebootDeviceId(m_devices[static_cast<std::size_t>(sel)].info);
        if (!serial) {
            // A cut serial would name another device, or none.
            MessageBox(kSerialTooLong);
            return;
        }
        deviceId = *serial;
    } else {
        if (MessageBox(u"请先选择设备或者手动输入？", u"温馨提示", MB_YESNO) != IDYES) {
            MessageBox(u"请先选择设备");
            return;
        }
        CString typed;
        {
            CDevId deviceIdDialog;
            if (deviceIdDialog.DoModal() != IDOK) {
                return;
            }
            deviceIdDialog.GetDevId(typed);
        }
        deviceId = protocol::WideToAnsi(typed.Str());
        if (!protocol::FitsInField(deviceId, protocol::kDeviceIdFieldSize)) {
            // The field holds 31 bytes and a zero; a cut ID would name another device.
            MessageBox(kDeviceIdTooLong);
            return;
        }
    }

    protocol::Credentials credentials;
    if (!AskCredentials(credentials)) {
        return;
    }

    const std::vector<std::uint8_t> request =
        protocol::BuildRebootRequest(m_dwSessionId, credentials, deviceId);
    if (SendRequest(request) == -1) {
        CString line;
        line.Format(u"%s\n", u"重启请求发送失败");
        plat::OutputDebugStringW(line);
    }
}
