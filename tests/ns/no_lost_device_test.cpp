// 200 simulated devices (netns-run --devices generate:200) answer every copy of a search at
// once: 600 replies of 884 bytes within a few milliseconds, more than a stock receive queue
// holds. After each search every device is listed, once, at the address it answered from. The
// main dialog runs with the real endpoint, sender and worker; the operator is the headless one.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "afx/testing/open_dialog.h"
#include "ns/udp_counters.h"
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
// Each device receives the search at its own address, at the directed and at the limited
// broadcast, and answers every copy.
constexpr long kRepliesPerSearch = 3L * kDevices;
// Far more than a search needs (about 0.1 s here); a loaded machine running the sanitizer
// builds must not turn slowness into a lost device.
constexpr auto kSearchOverWithin = std::chrono::seconds(30);
// Once every reply has been taken from the socket, what the UI thread still has to list.
constexpr milliseconds kListingWithin{3000};
// What a stock kernel grants an unprivileged program however much it asks for
// (net.core.rmem_max): about 180 of these replies.
constexpr int kStockReceiveBuffer = 212992;
// A receiver that pauses whenever the queue is empty for an instant loses devices in about one
// search of eight at the stock buffer; twenty searches catch that more than nine times in ten.
constexpr int kStockSearches = 20;

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
        searchStart_ = nstest::ReadUdpCounters();  // the start-up search goes out at once
        ASSERT_GE(searchStart_.inDatagrams, 0) << "no UDP counters in /proc/net/snmp";
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

    // Pumps until every reply of the last search has reached the socket (taken or dropped), the
    // worker has taken all of them, and the UI thread has listed what it was handed; so no late
    // copy of this search can be listed as an answer to the next.
    void WaitUntilSearchIsOver() {
        const auto deadline = Clock::now() + kSearchOverWithin;
        while (Clock::now() < deadline &&
               (nstest::ReadUdpCounters().Arrived() - searchStart_.Arrived() < kRepliesPerSearch ||
                !QueueEmpty())) {
            session_.PumpUntil([] { return false; }, milliseconds(5));
        }
        session_.PumpUntil([&] { return Lines().size() >= kDevices; }, kListingWithin);
        // The hand-over of the last replies taken, which may be duplicates of listed devices.
        session_.PumpUntil([] { return false; }, milliseconds(20));
    }

    void PressSearch() {
        searchStart_ = nstest::ReadUdpCounters();
        plat::CaptureOutput quiet;
        ASSERT_TRUE(win::input::Click(win::GetDlgItem(opened_->Handle(), IDC_SEARCH)));
    }

    // Every generated device on one line of its own, numbered in order, with its own address.
    void ExpectEveryDeviceListedOnce(const std::string& after) {
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
        const nstest::UdpCounters now = nstest::ReadUdpCounters();
        EXPECT_TRUE(missing.empty())
            << after << ": " << missing.size() << " of " << kDevices << " devices not listed ("
            << names << " ); " << now.Arrived() - searchStart_.Arrived() << " of "
            << kRepliesPerSearch << " replies arrived, "
            << now.rcvbufErrors - searchStart_.rcvbufErrors
            << " of them dropped for a full receive queue";
    }

    bool QueueEmpty() const {
        unsigned long bytes = 0;
        return plat::ioctlsocket(dialog_->m_sock, plat::kFionread, &bytes) == 0 && bytes == 0;
    }

    win::headless::Session session_{[](const std::string& m) { ADD_FAILURE() << m; }};
    std::unique_ptr<CQuorvelDlg> dialog_;
    std::unique_ptr<afx::testing::OpenDialog> opened_;
    nstest::UdpCounters searchStart_;
};

TEST_F(NoLostDevice, TheStartUpSearchListsEveryDevice) {
    WaitUntilSearchIsOver();
    ExpectEveryDeviceListedOnce("the start-up search");
}

TEST_F(NoLostDevice, EachLaterSearchListsEveryDeviceAgain) {
    WaitUntilSearchIsOver();
    for (int search = 1; search <= 2; ++search) {
        PressSearch();
        WaitUntilSearchIsOver();
        ExpectEveryDeviceListedOnce("search " + std::to_string(search));
    }
}

// Where the endpoint's request for a larger queue is not granted, the worker's pace alone must
// keep every device: the queue may overflow with the later copies, never with a first one.
TEST_F(NoLostDevice, EverySearchListsEveryDeviceWithTheReceiveQueueOfAStockKernel) {
    WaitUntilSearchIsOver();
    const int bytes = kStockReceiveBuffer;
    ASSERT_EQ(plat::setsockopt(dialog_->m_sock, plat::kSolSocket, plat::kSoRcvBuf,
                               reinterpret_cast<const char*>(&bytes), sizeof bytes),
              0);
    for (int search = 1; search <= kStockSearches; ++search) {
        PressSearch();
        WaitUntilSearchIsOver();
        ExpectEveryDeviceListedOnce("search " + std::to_string(search) + " of " +
                                    std::to_string(kStockSearches));
        if (HasFailure()) {
            break;
        }
    }
}

}  // namespace
