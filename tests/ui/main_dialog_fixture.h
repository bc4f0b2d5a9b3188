// The main dialog opened on a fake network with one adapter (192.168.1.77/24), a fixed tick
// count as session id, and the scripted operator.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "afx/testing/open_dialog.h"
#include "platform/codepage.h"
#include "platform/kernel.h"
#include "platform/output.h"
#include "platform/testing/fakes.h"
#include "reply_bytes.h"
#include "ui/quorvel_dlg.h"
#include "ui/resource.h"
#include "win/headless/probe.h"
#include "win/headless/session.h"

namespace ui_test {

constexpr std::uint32_t kSession = 0x11223344;
constexpr char kDeviceAddress[] = "192.168.1.20";

// The UTF-16 text of a code page 936 literal written as UTF-8 in the source.
inline std::u16string U(const char* utf8) {
    return plat::Utf8ToWide(utf8);
}

class SessionFixture : public ::testing::Test {
  protected:
    SessionFixture() {
        AfxWinInit("/usr/bin/quorvel");
        plat::testing::SetTickCount(kSession);
        adapters.AddAdapter("eth0", plat::kIfTypeEthernet, u"eth0", {"192.168.1.77"},
                            "255.255.255.0");
    }
    ~SessionFixture() override { plat::testing::ResetKernelFaults(); }

    win::headless::Session session{[](const std::string& m) { ADD_FAILURE() << m; }};
    plat::testing::FakeNetwork network;
    plat::testing::FakeAdapters adapters;
    plat::testing::FakeShell shell;
    plat::CaptureOutput output;
};

class MainDialogFixture : public SessionFixture {
  protected:
    void SetUp() override { Open(); }

    void Open() {
        dialog = std::make_unique<CQuorvelDlg>();
        opened = std::make_unique<afx::testing::OpenDialog>(*dialog);
        hwnd = opened->Handle();
        ASSERT_NE(hwnd, nullptr);
    }

    void TearDown() override {
        opened.reset();
        dialog.reset();
    }

    // Feeds a datagram to the worker and waits until it has been handled and what it handed
    // to the UI thread has run.
    void Deliver(const Bytes& datagram, const char* from = kDeviceAddress) {
        network.QueueDatagram(datagram, plat::testing::Ip(from));
        Settle();
    }
    void Settle() {
        ASSERT_TRUE(network.WaitUntilReceiverIdle());
        session.Pump();
    }

    // Delivers an empty result reply (0xF002 or 0xF004); answers its box and returns true when
    // it showed one. A worker that shows a box is not idle until the box is answered, so the
    // wait ends either with the box open or with the reply handled without one.
    bool ResultShowsBox(std::uint32_t command) {
        network.QueueDatagram(ResultReply(command, kSession, ""),
                              plat::testing::Ip(kDeviceAddress));
        EXPECT_TRUE(session.PumpUntil([&] {
            return !win::headless::OpenMessageBoxes().empty() ||
                   network.WaitUntilReceiverIdle(std::chrono::milliseconds(0));
        }));
        const std::vector<HWND> open = win::headless::OpenMessageBoxes();
        if (!open.empty()) {
            session.Answer(open.front(), IDOK);
        }
        Settle();
        return !open.empty();
    }

    std::vector<std::u16string> Lines() const { return win::headless::ListLines(hwnd, IDC_LIST); }
    void Select(int line) { ASSERT_TRUE(win::input::SelectLine(Item(IDC_LIST), line)); }
    void Click(int id) { ASSERT_TRUE(win::input::Click(Item(id))); }
    HWND Item(int id) const { return win::GetDlgItem(hwnd, id); }

    std::unique_ptr<CQuorvelDlg> dialog;
    std::unique_ptr<afx::testing::OpenDialog> opened;
    HWND hwnd = nullptr;
};

}  // namespace ui_test
