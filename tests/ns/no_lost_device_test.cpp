// 200 simulated devices (netns-run --devices generate:200) answer every copy of a search at
// once: 600 replies of 884 bytes within a few milliseconds, more than a stock receive queue
// holds. After one search every device is listed, once, at the address it answered from. The
// main dialog runs with the real endpoint, sender and worker; the operator is the headless one.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "afx/testing/open_dialog.h"
#include "platform/codepage.h"
#include "platform/output.h"
#include "platform/sockets.h"
#include "ui/quorvel_dlg.h"
#include "ui/resource.h"
#include "win/headless/probe.h"
#include "win/headless/session.h"
#include "win/input.h"
#include "win/window_api.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kDevices = 200;
// Far more than a search needs (about 0.1 s here); a loaded machine running the sanitizer
// builds must not turn slowness into a lost device.
constexpr auto kListedWithin = std::chrono::seconds(30);
// How long the socket's queue must stay empty before the late copies of a search are over.
constexpr milliseconds kQuiet{400};
// With the queue empty and no line added for this long, no further device is coming.
constexpr milliseconds kNothingMore{3000};
// What a stock kernel grants an unprivileged program however much it asks for
// (net.core.rmem_max): about 180 of these replies.
constexpr int kStockReceiveBuffer = 212992;

// Datagrams this namespace dropped for a full receive queue (/proc/net/snmp is per network
// namespace); -1 when it cannot be read.
long UdpReceiveBufferErrors() {
    std::ifstream in("/proc/net/snmp");
    std::vector<std::string> udp;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Udp: ", 0) == 0) {
            udp.push_back(line);
        }
    }
    if (udp.size() < 2) {
        return -1;
    }
    std::istringstream names(udp[0]), values(udp[1]);
    for (std::string name, value; names >> name && values >> value;) {
        if (name == "RcvbufErrors") {
            return std::stol(value);
        }
    }
    return -1;
}

// The generated devices: SIM0001 at 198.51.100.10 up to SIM0200 at 198.51.100.209.
std::map<std::string, std::string> GeneratedDevices() {
    std::map<std::string, std::string> addressOfSerial;
    for (int i = 0; i < kDevices; ++i) {
        char serial[16];
        std::snprintf(serial, sizeof serial, "SIM%04d", i + 1);
        addressOfSerial[serial] = "198.51.100." + std::to_string(10 + i);
    }
    return addressOfSerial;
}

// The text of a line between `from` and `to`.
std::string Between(const std::string& line, const std::string& from, const std::string& to) {
    const std::size_t start = line.find(from);
    if (start == std::string::npos) {
        return "";
    }
    const std::size_t end = line.find(to, start + from.size());
    return end == std::string::npos ? ""
                                    : line.substr(start + from.size(), end - start - from.size());
}

class NoLostDevice : public ::testing::Test {
  protected:
    void SetUp() override {
        AfxWinInit("/usr/bin/quorvel");
        dropsAtStart_ = UdpReceiveBufferErrors();
        plat::CaptureOutput quiet;  // the sender's line per address
        dialog_ = std::make_unique<CQuorvelDlg>();
        opened_ = std::make_unique<afx::testing::OpenDialog>(*dialog_);
        ASSERT_NE(opened_->Handle(), nullptr);
        ASSERT_NE(dialog_->m_sock, plat::INVALID_SOCKET) << "the endpoint was not set up";
    }

    void TearDown() override {
        opened_.reset();
        dialog_.reset();
    }

    std::vector<std::u16string> Lines() const {
        return win::headless::ListLines(opened_->Handle(), IDC_LIST);
    }

    // Pumps until every device is listed and the socket's queue is empty; or until, once the
    // first line is there, nothing more has come for a while (a datagram the queue dropped
    // never comes back); or the time is up.
    void WaitUntilAllListed() {
        const auto deadline = Clock::now() + kListedWithin;
        std::size_t lines = 0;
        auto lastChange = Clock::now();
        while (Clock::now() < deadline &&
               (lines == 0 || Clock::now() - lastChange < kNothingMore)) {
            session_.PumpUntil([&] { return Lines().size() >= kDevices; }, milliseconds(10));
            const bool empty = QueueEmpty();
            if (Lines().size() >= kDevices && empty) {
                return;
            }
            if (Lines().size() != lines || !empty) {
                lines = Lines().size();
                lastChange = Clock::now();
            }
        }
    }

    // Pumps until the socket's queue has stayed empty for kQuiet: the late copies are handled.
    void Settle() {
        const auto deadline = Clock::now() + kListedWithin;
        auto emptySince = Clock::now();
        while (Clock::now() < deadline) {
            session_.PumpUntil([] { return false; }, milliseconds(10));
            if (!QueueEmpty()) {
                emptySince = Clock::now();
            } else if (Clock::now() - emptySince >= kQuiet) {
                return;
            }
        }
    }

    void PressSearch() {
        plat::CaptureOutput quiet;
        ASSERT_TRUE(win::input::Click(win::GetDlgItem(opened_->Handle(), IDC_SEARCH)));
    }

    // Every generated device on one line of its own, numbered in order, with its own address.
    void ExpectEveryDeviceListedOnce(const char* after) {
        const std::vector<std::u16string> lines = Lines();
        std::map<std::string, std::string> missing = GeneratedDevices();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string line = plat::WideToUtf8(lines[i]);
            EXPECT_EQ(line.rfind(std::to_string(i + 1) + " IP:", 0), 0u) << line;
            const std::string serial = Between(line, "序列号:", "  名称:");
            const auto device = missing.find(serial);
            if (device == missing.end()) {
                ADD_FAILURE() << "not a device of this network, or listed twice: " << line;
                continue;
            }
            EXPECT_EQ(Between(line, "IP:", " -->"), device->second) << line;
            missing.erase(device);
        }
        std::string names;
        for (const auto& [serial, address] : missing) {
            names += " " + serial;
        }
        EXPECT_TRUE(missing.empty())
            << after << ": " << missing.size() << " of " << kDevices << " devices not listed ("
            << names << " ); the namespace dropped " << UdpReceiveBufferErrors() - dropsAtStart_
            << " datagrams for a full receive queue";
    }

    bool QueueEmpty() const {
        unsigned long bytes = 0;
        return plat::ioctlsocket(dialog_->m_sock, plat::kFionread, &bytes) == 0 && bytes == 0;
    }

    win::headless::Session session_{[](const std::string& m) { ADD_FAILURE() << m; }};
    std::unique_ptr<CQuorvelDlg> dialog_;
    std::unique_ptr<afx::testing::OpenDialog> opened_;
    long dropsAtStart_ = 0;
};

TEST_F(NoLostDevice, TheStartUpSearchListsEveryDevice) {
    WaitUntilAllListed();
    ExpectEveryDeviceListedOnce("the start-up search");
}

TEST_F(NoLostDevice, EachLaterSearchListsEveryDeviceAgain) {
    WaitUntilAllListed();
    for (int search = 1; search <= 2; ++search) {
        Settle();
        PressSearch();
        WaitUntilAllListed();
        ExpectEveryDeviceListedOnce(("search " + std::to_string(search)).c_str());
    }
}

// Where the endpoint's request for a larger queue is not granted, the worker's pace alone must
// keep every device: the queue overflows with the later copies, never with a first one.
TEST_F(NoLostDevice, ASearchListsEveryDeviceWithTheReceiveQueueOfAStockKernel) {
    WaitUntilAllListed();
    Settle();
    const int bytes = kStockReceiveBuffer;
    ASSERT_EQ(plat::setsockopt(dialog_->m_sock, plat::kSolSocket, plat::kSoRcvBuf,
                               reinterpret_cast<const char*>(&bytes), sizeof bytes),
              0);
    for (int search = 1; search <= 2; ++search) {
        Settle();
        PressSearch();
        WaitUntilAllListed();
        ExpectEveryDeviceListedOnce(("search " + std::to_string(search)).c_str());
    }
}

}  // namespace
