// A headless main dialog on the fake network, with the fuzzer's thread as its UI thread and
// nobody at the keyboard: every box the worker shows is answered with OK, and the dialogs the
// handlers open are answered by scripts. Opening the dialog costs its first search (and that
// search's 100 ms pause), so one dialog serves many inputs; StartInput puts it back into the
// state after that search.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "afx/testing/open_dialog.h"
#include "platform/output.h"
#include "platform/testing/fakes.h"
#include "ui/quorvel_dlg.h"
#include "win/headless/session.h"

namespace fuzz {

// The main dialog, with a way to cut short the worker's 5 ms wait between two receives: the
// harness waits for the worker after every datagram, and would otherwise spend most of its time
// in that pause.
class FuzzedDialog : public CQuorvelDlg {
  public:
    void WakeWorker();
};

class ReceiveHarness {
  public:
    static constexpr std::uint32_t kSessionId = 0x11223344;
    // The one adapter, 192.168.1.77/24: a request goes to .1 to .254, .255 and 255.255.255.255.
    static constexpr std::size_t kSendsPerRequest = 256;
    static constexpr char16_t kUserName[] = u"admin";
    static constexpr char16_t kPassword[] = u"pw";

    // The harness of this process; remade now and then, before the record of the windows shown
    // (which the scripted operator keeps) grows large.
    static ReceiveHarness& Instance();

    ReceiveHarness();
    ~ReceiveHarness();
    ReceiveHarness(const ReceiveHarness&) = delete;
    ReceiveHarness& operator=(const ReceiveHarness&) = delete;

    // Empty list, fresh device table, empty panel, no selection, no URL opened, nothing sent;
    // the result-shown flag as given.
    void StartInput(bool resultShown);

    // The worker receives the datagram from `from` (network order); returns once it and what it
    // led to are done: each box it showed answered, each device it handed over added.
    void Deliver(std::vector<std::uint8_t> datagram, std::uint32_t from);

    bool Select(int line);
    bool DoubleClick(int line);
    bool Click(int controlId);

    // "修改" and "重启" with the dialogs and boxes each handler must show answered (the
    // credentials are kUserName and kPassword; no typed device ID); returns the request it sent,
    // or nothing when none was due. Reboot is not pressed for a selected record whose serial has
    // no NUL (the handler refuses it with a message of its own).
    std::optional<std::vector<std::uint8_t>> PressModify();
    std::optional<std::vector<std::uint8_t>> PressReboot();

    CQuorvelDlg& Dialog() { return *dialog_; }
    std::vector<std::u16string> Lines() const;
    int Selection() const;
    std::vector<std::u16string> OpenedUrls() const { return shell_->Opened(); }

  private:
    bool WantsRemaking() const;
    void AnswerWorkerBoxes();
    // Clicks a button that runs a handler with modal windows, then checks that exactly the
    // scripted ones were shown, and takes the request that went out (every send the same).
    std::optional<std::vector<std::uint8_t>> PressScripted(int buttonId,
                                                           std::vector<std::u16string> captions,
                                                           bool sends);

    win::headless::Session session_;
    plat::testing::FakeNetwork network_;
    plat::testing::FakeAdapters adapters_;
    std::unique_ptr<plat::testing::FakeShell> shell_;
    plat::CaptureOutput output_;
    std::unique_ptr<FuzzedDialog> dialog_;
    std::unique_ptr<afx::testing::OpenDialog> opened_;
    win::HWND window_ = nullptr;
};

}  // namespace fuzz
