// Storing a device-information reply and listing the device once, keyed by serial number.
// Runs on the UI thread, so the line count it reads is still the count when it inserts, even
// while a search empties the list.
#include "platform/output.h"
#include "protocol/list_line.h"
#include "ui/quorvel_dlg.h"

void CQuorvelDlg::AddDevice(const char* sourceAddress, std::span<const std::uint8_t> payload) {
    const int count = m_list.GetCount();
    if (count < 0) {
        return;
    }
    const auto index = static_cast<std::size_t>(count);
    if (protocol::StoreDeviceReply(m_devices, index, payload) != protocol::StoreOutcome::kAdded) {
        return;  // already listed, or no free record: dropped in silence
    }
    const CString line(protocol::NumberedLine(
        count + 1, protocol::DeviceLineText(sourceAddress, m_devices[index].info)));
    m_list.InsertString(count, line);
    plat::OutputDebugStringA("");
}
