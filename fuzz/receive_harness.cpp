#include "fuzz/receive_harness.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "afx/afx.h"
#include "fuzz/check.h"
#include "platform/kernel.h"
#include "protocol/reboot_request.h"
#include "ui/resource.h"
#include "win/headless/probe.h"
#include "win/input.h"
#include "win/window_api.h"

namespace fuzz {

namespace {

// The scripted operator keeps every window shown, box texts included (up to 65,500 units each),
// and looks through that record on every change of a window; past this many windows or units
// of text the harness is made anew (which costs the first search's pause again).
constexpr std::size_t kShownBeforeRemaking = 512;
constexpr std::size_t kShownUnitsBeforeRemaking = std::size_t{1} << 20;

// How often the harness looks whether the worker is done (and wakes it from its pause).
constexpr std::chrono::microseconds kWorkerPoll{50};

constexpr char16_t kCredentialCaption[] = u"请输入设备的用户名和密码";
constexpr char16_t kSelectFirst[] = u"请先选择设备";
constexpr char16_t kSelectOrType[] = u"请先选择设备或者手动输入？";
constexpr char16_t kQuestionCaption[] = u"温馨提示";

void OperatorFailed(const std::string& message) {
    std::fprintf(stderr, "scripted operator: %s\n", message.c_str());
    std::abort();
}

}  // namespace

void FuzzedDialog::WakeWorker() {
    if (m_hEvents[kWakeEvent] != nullptr) {
        plat::SetEvent(m_hEvents[kWakeEvent]);
    }
}

ReceiveHarness& ReceiveHarness::Instance() {
    // Never destroyed at exit: the window system's own statics may be gone by then.
    static ReceiveHarness* harness = nullptr;
    if (harness != nullptr && harness->WantsRemaking()) {
        delete harness;  // the fakes of the old one must be gone before the new ones install
        harness = nullptr;
    }
    if (harness == nullptr) {
        harness = new ReceiveHarness();
    }
    return *harness;
}

ReceiveHarness::ReceiveHarness()
    : session_(OperatorFailed), shell_(std::make_unique<plat::testing::FakeShell>()) {
    AfxWinInit("/usr/bin/quorvel");
    plat::testing::SetTickCount(kSessionId);
    adapters_.AddAdapter("eth0", plat::kIfTypeEthernet, u"eth0", {"192.168.1.77"}, "255.255.255.0");
    dialog_ = std::make_unique<FuzzedDialog>();
    opened_ = std::make_unique<afx::testing::OpenDialog>(*dialog_);
    window_ = opened_->Handle();
    FUZZ_CHECK(window_ != nullptr);
    FUZZ_CHECK(dialog_->m_dwSessionId == kSessionId);
    AnswerWorkerBoxes();
}

ReceiveHarness::~ReceiveHarness() {
    opened_.reset();
    dialog_.reset();
    plat::testing::ResetKernelFaults();
}

bool ReceiveHarness::WantsRemaking() const {
    const std::vector<win::headless::ShownWindow>& shown = session_.Shown();
    std::size_t units = 0;
    for (const win::headless::ShownWindow& window : shown) {
        units += window.caption.size() + window.text.size();
    }
    return shown.size() >= kShownBeforeRemaking || units >= kShownUnitsBeforeRemaking;
}

void ReceiveHarness::StartInput(bool resultShown) {
    CQuorvelDlg& dialog = *dialog_;
    win::SendMessageW(dialog.m_list.GetSafeHwnd(), LB_RESETCONTENT, 0, 0);
    for (protocol::CDeviceRecord& record : dialog.m_devices) {
        record = protocol::CDeviceRecord{};
    }
    for (int row = 0; row < CQuorvelDlg::kRows; ++row) {
        dialog.ResetNicRow(row, TRUE, TRUE);
        dialog.SetNicRowData(row, u"", u"", u"", u"", 0);
    }
    dialog.SetDnsData(u"", u"");
    dialog.m_chkDnsAuto.SetCheck(0);
    dialog.m_ipDns1.EnableWindow(TRUE);
    dialog.m_ipDns2.EnableWindow(TRUE);
    dialog.UpdateData(FALSE);
    dialog.m_bResultShown = resultShown ? 1 : 0;

    shell_.reset();
    shell_ = std::make_unique<plat::testing::FakeShell>();
    network_.ClearSent();
    output_.Clear();
}

void ReceiveHarness::Deliver(std::vector<std::uint8_t> datagram, std::uint32_t from) {
    network_.QueueDatagram(std::move(datagram), from);
    AnswerWorkerBoxes();
}

// The worker is done when it waits in its receive again with nothing queued; what it handed to
// this thread before that runs in the Pump that follows.
void ReceiveHarness::AnswerWorkerBoxes() {
    for (;;) {
        session_.Pump();
        const std::vector<win::HWND> boxes = win::headless::OpenMessageBoxes();
        if (!boxes.empty()) {
            for (const win::HWND box : boxes) {
                FUZZ_CHECK(session_.Answer(box, IDOK));
            }
            continue;
        }
        // A wake given while the worker is still busy is lost (it resets the event after its
        // run), so it is given again on every turn.
        dialog_->WakeWorker();
        if (network_.WaitUntilReceiverIdle(std::chrono::milliseconds(0))) {
            session_.Pump();
            if (win::headless::OpenMessageBoxes().empty()) {
                return;
            }
        }
        std::this_thread::sleep_for(kWorkerPoll);
    }
}

bool ReceiveHarness::Select(int line) {
    return win::input::SelectLine(win::GetDlgItem(window_, IDC_LIST), line);
}

bool ReceiveHarness::DoubleClick(int line) {
    return win::input::DoubleClickLine(win::GetDlgItem(window_, IDC_LIST), line);
}

bool ReceiveHarness::Click(int controlId) {
    return win::input::Click(win::GetDlgItem(window_, controlId));
}

std::vector<std::u16string> ReceiveHarness::Lines() const {
    return win::headless::ListLines(window_, IDC_LIST);
}

int ReceiveHarness::Selection() const {
    return win::headless::ListSelection(window_, IDC_LIST);
}

std::optional<std::vector<std::uint8_t>> ReceiveHarness::PressModify() {
    if (Selection() < 0) {
        session_.ExpectBox(kSelectFirst).Answer(IDOK);
        return PressScripted(IDC_MODIFY, {kSelectFirst}, false);
    }
    session_.ExpectDialog(kCredentialCaption)
        .Type(IDC_USERNAME, kUserName)
        .Type(IDC_PASSWORD, kPassword)
        .Click(IDOK);
    return PressScripted(IDC_MODIFY, {kCredentialCaption}, true);
}

std::optional<std::vector<std::uint8_t>> ReceiveHarness::PressReboot() {
    const int selection = Selection();
    if (selection < 0) {
        session_.ExpectBox(kSelectOrType, kQuestionCaption).Answer(IDNO);
        session_.ExpectBox(kSelectFirst).Answer(IDOK);
        return PressScripted(IDC_REBOOT, {kSelectOrType, kSelectFirst}, false);
    }
    if (!protocol::RebootDeviceId(dialog_->m_devices[static_cast<std::size_t>(selection)].info)) {
        return std::nullopt;
    }
    session_.ExpectDialog(kCredentialCaption)
        .Type(IDC_USERNAME, kUserName)
        .Type(IDC_PASSWORD, kPassword)
        .Click(IDOK);
    return PressScripted(IDC_REBOOT, {kCredentialCaption}, true);
}

std::optional<std::vector<std::uint8_t>> ReceiveHarness::PressScripted(
    int buttonId, std::vector<std::u16string> shownInOrder, bool sends) {
    const std::size_t before = session_.Shown().size();
    network_.ClearSent();
    FUZZ_CHECK(Click(buttonId));

    const std::vector<win::headless::ShownWindow>& shown = session_.Shown();
    FUZZ_CHECK(shown.size() == before + shownInOrder.size());
    for (std::size_t i = 0; i < shownInOrder.size(); ++i) {
        const win::headless::ShownWindow& window = shown[before + i];
        FUZZ_CHECK((window.messageBox ? window.text : window.caption) == shownInOrder[i]);
    }
    FUZZ_CHECK(win::headless::OpenMessageBoxes().empty());

    const std::vector<plat::testing::FakeNetwork::Sent> sent = network_.SentDatagrams();
    network_.ClearSent();
    if (!sends) {
        FUZZ_CHECK(sent.empty());
        return std::nullopt;
    }
    FUZZ_CHECK(sent.size() == kSendsPerRequest);
    for (const plat::testing::FakeNetwork::Sent& datagram : sent) {
        FUZZ_CHECK(datagram.bytes == sent.front().bytes);
    }
    return sent.front().bytes;
}

}  // namespace fuzz
