// The worker's processing operation: one receive, the checks in their order, the handlers.
#include <array>
#include <string>
#include <vector>

#include "platform/output.h"
#include "platform/sockets.h"
#include "protocol/datagram_checks.h"
#include "protocol/text_conversion.h"
#include "protocol/wire_layout.h"
#include "ui/quorvel_dlg.h"
#include "win/ui_thread.h"

namespace {

// The fixed texts of the result boxes, in the code page of the narrow boxes.
std::string Ansi(const char16_t* text) {
    return protocol::WideToAnsi(text);
}

}  // namespace

void CQuorvelDlg::ProcessThread(int /*index*/) {
    // The run keeps receiving until a receive fails; it does not go back to the worker loop's
    // 5 ms wait when the queue is empty for a moment. During a search the queue empties between
    // two replies of the sweep, and a worker that slept then let the rest of the sweep and the
    // broadcast copies overflow a stock-sized queue: devices that had answered were lost. A
    // blocked receive costs nothing while the network is silent, and a forced end of the worker
    // makes it fail at once.
    while (ReceiveAndHandle()) {
    }
}

bool CQuorvelDlg::ReceiveAndHandle() {
    std::array<std::uint8_t, protocol::receive::kBufferSize> buffer{};
    plat::SockAddrIn from{};
    int fromLength = sizeof from;
    const int received = plat::recvfrom(m_sock, reinterpret_cast<char*>(buffer.data()),
                                        static_cast<int>(buffer.size()), 0, &from, &fromLength);
    if (!protocol::IsDatagram(received)) {
        return received == 0;  // an empty datagram is dropped; a failed receive ends the run
    }
    const auto length = static_cast<std::size_t>(received);
    if (!protocol::HasFullHeader(length)) {
        return true;
    }
    const std::span<const std::uint8_t> datagram(buffer.data(), length);
    if (!protocol::IsOwnSession(datagram, m_dwSessionId)) {
        return true;
    }
    if (protocol::HasErrorCode(datagram)) {
        MessageBox(u"error_id");
    }
    if (!protocol::HasMagic(datagram)) {
        return true;
    }
    const std::span<const std::uint8_t> payload = protocol::PayloadOf(datagram);
    switch (protocol::ReplyKindOf(datagram)) {
        case protocol::ReplyKind::kDeviceInfo:
            HandOverDevice(plat::inet_ntoa(from.sin_addr), payload);
            break;
        case protocol::ReplyKind::kModifyResult:
            if (m_bResultShown.load() == 0) {
                ShowModifyResult(protocol::ResultText(payload).c_str());
            }
            break;
        case protocol::ReplyKind::kRebootResult:
            if (m_bResultShown.load() == 0) {
                ShowRebootResult(protocol::ResultText(payload).c_str());
            }
            break;
        case protocol::ReplyKind::kOther:
            break;
    }
    return true;
}

void CQuorvelDlg::HandOverDevice(const char* sourceAddress, std::span<const std::uint8_t> payload) {
    // The copy holds the datagram's own bytes only; AddDevice reads what lies past them as zero.
    std::string address(sourceAddress);
    std::vector<std::uint8_t> bytes(payload.begin(), payload.end());
    const std::size_t cost = bytes.size() + kHandOverCostPerReply;
    if (m_nBytesOnTheWay.fetch_add(cost) + cost > kHandOverBudgetBytes) {
        m_nBytesOnTheWay.fetch_sub(cost);
        return;
    }
    win::PostToWindow(GetSafeHwnd(), [this, cost, search = m_nSearch.load(),
                                      address = std::move(address), bytes = std::move(bytes)] {
        m_nBytesOnTheWay.fetch_sub(cost);
        if (search != m_nSearch.load()) {
            return;
        }
        try {
            AddDevice(address.c_str(), bytes);
        } catch (...) {
            plat::OutputDebugStringW(kProcessingFailedLine);
        }
    });
}

void CQuorvelDlg::ShowModifyResult(const char* text) {
    if (text[0] == '\0') {
        MessageBoxA(nullptr, Ansi(u"IP已修改，请重启设备").c_str(), Ansi(u"提示").c_str(), MB_OK);
    } else {
        MessageBoxA(nullptr, text, Ansi(u"修改失败").c_str(), MB_OK);
    }
    m_bResultShown = 1;
}

void CQuorvelDlg::ShowRebootResult(const char* text) {
    if (text[0] == '\0') {
        MessageBoxA(nullptr, Ansi(u"设备正在重启设备。。。").c_str(), Ansi(u"提示").c_str(), MB_OK);
    } else {
        MessageBoxA(nullptr, text, Ansi(u"用戶名或密码错误").c_str(), MB_OK);
    }
    m_bResultShown = 1;
}
