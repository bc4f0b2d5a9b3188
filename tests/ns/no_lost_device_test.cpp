// 200 simulated devices (netns-run --devices generate:200) answer every copy of a search at
// once: 600 replies of 884 bytes within a few milliseconds, more than one stock-sized receive
// queue holds. After each search every device is listed, once, at the address it answered from,
// in the order the devices answered. The main dialog runs with the real endpoint, sender and
// worker; the operator is the headless one.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "afx/testing/open_dialog.h"
#include "ns/devsim_record.h"
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
// (net.core.rmem_max = wmem_max): each kernel socket then queues about 184 of these replies.
constexpr int kStockBufferCap = 212992;
// Twenty searches caught a receiver that paused whenever the queue ran dry for an instant more
// than nine times in ten.
constexpr int kStockSearches = 20;

constexpr std::uint32_t kDeviceInfoReply = 0xF001;

// The generated devices: SIM0001 at 198.51.100.10 up to SIM0200 at 198.51.100.209.
std::string SerialOf(int device) {
    char serial[16];
    std::snprintf(serial, sizeof serial, "SIM%04d", device + 1);
    return serial;
}
std::string AddressOf(int device) {
    return "198.51.100." + std::to_string(10 + device);
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

// The device-information replies the simulator sent since a search began, from its record: the
// order in which the devices answered, which is the order the replies reached the PC side.
class DeviceAnswers {
  public:
    bool Available() const { return !path_.empty(); }

    void SearchBegins() {
        Update();
        sent_.clear();
    }

    // The devices (0 to 199) in the order of their first reply to `port`.
    std::vector<int> FirstAnswers(int port) {
        Update();
        std::vector<int> order;
        std::vector<bool> seen(kDevices, false);
        for (const Answer& answer : sent_) {
            if (answer.port == port && answer.device >= 0 && answer.device < kDevices &&
                !seen[static_cast<std::size_t>(answer.device)]) {
                seen[static_cast<std::size_t>(answer.device)] = true;
                order.push_back(answer.device);
            }
        }
        return order;
    }

    long Replies(int port) {
        Update();
        return std::count_if(sent_.begin(), sent_.end(),
                             [&](const Answer& a) { return a.port == port; });
    }

  private:
    struct Answer {
        int port;
        int device;
    };

    void Update() {
        for (const devsim_record::Datagram& d : devsim_record::ReadFrom(path_, offset_)) {
            if (d.direction == devsim_record::Direction::Sent &&
                devsim_record::CommandOf(d) == kDeviceInfoReply) {
                const std::size_t dot = d.local.rfind('.');
                const int device =
                    dot == std::string::npos ? -1 : std::stoi(d.local.substr(dot + 1)) - 10;
                sent_.push_back({d.peerPort, device});
            }
        }
    }

    std::string path_ = devsim_record::PathFromEnvironment();
    std::size_t offset_ = 0;
    std::vector<Answer> sent_;
};

// One main dialog, as one running tool shows it.
struct Tool {
    Tool() {
        plat::CaptureOutput quiet;  // the sender's line per address
        dialog = std::make_unique<CQuorvelDlg>();
        opened = std::make_unique<afx::testing::OpenDialog>(*dialog);
    }
    ~Tool() {
        opened.reset();
        dialog.reset();
    }
    Tool(const Tool&) = delete;
    Tool& operator=(const Tool&) = delete;

    win::HWND Item(int id) const { return win::GetDlgItem(opened->Handle(), id); }
    std::vector<std::u16string> Lines() const {
        return win::headless::ListLines(opened->Handle(), IDC_LIST);
    }
    bool QueueEmpty() const {
        unsigned long bytes = 0;
        return plat::ioctlsocket(dialog->m_sock, plat::kFionread, &bytes) == 0 && bytes == 0;
    }
    int Port() const {
        plat::SockAddrIn bound{};
        int length = sizeof bound;
        plat::getsockname(dialog->m_sock, &bound, &length);
        return plat::NetToHost16(bound.sin_port);
    }

    std::unique_ptr<CQuorvelDlg> dialog;
    std::unique_ptr<afx::testing::OpenDialog> opened;
};

class NoLostDevice : public ::testing::Test {
  protected:
    void SetUp() override {
        AfxWinInit("/usr/bin/quorvel");
        searchStart_ = nstest::ReadUdpCounters();  // the start-up search goes out at once
        ASSERT_GE(searchStart_.inDatagrams, 0) << "no UDP counters in /proc/net/snmp";
        ASSERT_TRUE(answers_.Available()) << "no simulator record (start it through netns-run)";
        answers_.SearchBegins();
        ASSERT_NO_FATAL_FAILURE(OpenTool());
    }

    void TearDown() override { tools_.clear(); }

    void OpenTool() {
        tools_.push_back(std::make_unique<Tool>());
        ASSERT_NE(tools_.back()->opened->Handle(), nullptr);
        ASSERT_NE(tools_.back()->dialog->m_sock, plat::INVALID_SOCKET)
            << "the endpoint was not set up";
    }
    Tool& First() { return *tools_.front(); }

    long RepliesSinceSearch() const {
        return nstest::ReadUdpCounters().Arrived() - searchStart_.Arrived();
    }

    // Pumps until every reply of the last search has reached the sockets (taken or dropped),
    // the workers have taken all of them, and the UI thread has listed what it was handed; so
    // no late copy of this search can be listed as an answer to the next.
    void WaitUntilSearchIsOver() {
        const long replies = kRepliesPerSearch * static_cast<long>(tools_.size());
        const auto deadline = Clock::now() + kSearchOverWithin;
        while (Clock::now() < deadline && (RepliesSinceSearch() < replies || !QueuesEmpty())) {
            session_.PumpUntil([] { return false; }, milliseconds(5));
        }
        session_.PumpUntil(
            [&] {
                for (const auto& tool : tools_) {
                    if (tool->Lines().size() < kDevices) {
                        return false;
                    }
                }
                return true;
            },
            kListingWithin);
        // The hand-over of the last replies taken, which may be duplicates of listed devices.
        session_.PumpUntil([] { return false; }, milliseconds(20));
    }

    bool QueuesEmpty() const {
        for (const auto& tool : tools_) {
            if (!tool->QueueEmpty()) {
                return false;
            }
        }
        return true;
    }

    void PressSearch(Tool& tool) {
        searchStart_ = nstest::ReadUdpCounters();
        answers_.SearchBegins();
        plat::CaptureOutput quiet;
        ASSERT_TRUE(win::input::Click(tool.Item(IDC_SEARCH)));
    }

    // Every generated device on one line of its own, in the order they answered, numbered in
    // order, each with its own address.
    void ExpectEveryDeviceListedInOrder(const Tool& tool, const std::string& after) {
        const std::vector<std::u16string> lines = tool.Lines();
        const std::vector<int> answered = answers_.FirstAnswers(tool.Port());
        std::vector<bool> listed(kDevices, false);
        int outOfOrder = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const std::string line = plat::WideToUtf8(lines[i]);
            EXPECT_EQ(line.rfind(std::to_string(i + 1) + " IP:", 0), 0u) << line;
            const std::string serial = Between(line, "序列号:", "  名称:");
            int device = -1;
            for (int d = 0; d < kDevices; ++d) {
                if (SerialOf(d) == serial) {
                    device = d;
                }
            }
            if (device < 0 || listed[static_cast<std::size_t>(device)]) {
                ADD_FAILURE() << after
                              << ": not a device of this network, or listed twice: " << line;
                continue;
            }
            listed[static_cast<std::size_t>(device)] = true;
            EXPECT_EQ(Between(line, "IP:", " -->"), AddressOf(device)) << line;
            if (i >= answered.size() || answered[i] != device) {
                ++outOfOrder;
            }
        }
        std::string missing;
        int missingCount = 0;
        for (int d = 0; d < kDevices; ++d) {
            if (!listed[static_cast<std::size_t>(d)]) {
                missing += " " + SerialOf(d);
                ++missingCount;
            }
        }
        const nstest::UdpCounters now = nstest::ReadUdpCounters();
        EXPECT_EQ(missingCount, 0)
            << after << ": " << missingCount << " of " << kDevices << " devices not listed ("
            << missing << " ); " << now.Arrived() - searchStart_.Arrived() << " replies arrived, "
            << now.rcvbufErrors - searchStart_.rcvbufErrors
            << " of them dropped for a full receive queue";
        EXPECT_EQ(outOfOrder, 0) << after << ": " << outOfOrder
                                 << " lines not where the order the devices answered puts them";
    }

    win::headless::Session session_{[](const std::string& m) { ADD_FAILURE() << m; }};
    std::vector<std::unique_ptr<Tool>> tools_;
    nstest::UdpCounters searchStart_;
    DeviceAnswers answers_;
};

TEST_F(NoLostDevice, TheStartUpSearchListsEveryDevice) {
    WaitUntilSearchIsOver();
    ExpectEveryDeviceListedInOrder(First(), "the start-up search");
}

TEST_F(NoLostDevice, EachLaterSearchListsEveryDeviceAgain) {
    WaitUntilSearchIsOver();
    for (int search = 1; search <= 2; ++search) {
        PressSearch(First());
        WaitUntilSearchIsOver();
        ExpectEveryDeviceListedInOrder(First(), "search " + std::to_string(search));
    }
}

// As an unprivileged program on a stock kernel: each kernel socket is granted 425,984 bytes
// however much the endpoint asks for. Set before the dialog opens its endpoint.
class NoLostDeviceOnAStockKernel : public NoLostDevice {
  protected:
    void SetUp() override {
        plat::testing::CapKernelSocketBuffers(kStockBufferCap);
        NoLostDevice::SetUp();
    }
    void TearDown() override {
        NoLostDevice::TearDown();
        plat::testing::CapKernelSocketBuffers(0);
    }
};

// The start-up search goes out before the worker's first receive.
TEST_F(NoLostDeviceOnAStockKernel, TheStartUpSearchListsEveryDevice) {
    WaitUntilSearchIsOver();
    ExpectEveryDeviceListedInOrder(First(), "the start-up search");
}

TEST_F(NoLostDeviceOnAStockKernel, EverySearchListsEveryDevice) {
    WaitUntilSearchIsOver();
    for (int search = 1; search <= kStockSearches; ++search) {
        PressSearch(First());
        WaitUntilSearchIsOver();
        ExpectEveryDeviceListedInOrder(
            First(), "search " + std::to_string(search) + " of " + std::to_string(kStockSearches));
        if (HasFailure()) {
            break;
        }
    }
}

// The operator reboots a device and, with its result box still open (the box holds the worker:
// nothing is received meanwhile), searches. Every reply waits until the box is dismissed.
TEST_F(NoLostDeviceOnAStockKernel, ASearchAnsweredWhileAResultBoxIsOpenListsEveryDevice) {
    WaitUntilSearchIsOver();
    Tool& tool = First();
    ASSERT_TRUE(win::input::SelectLine(tool.Item(IDC_LIST), 0));
    session_.ExpectDialog(u"请输入设备的用户名和密码")
        .Type(IDC_USERNAME, u"admin")
        .Type(IDC_PASSWORD, u"secret")
        .Click(IDOK);
    {
        plat::CaptureOutput quiet;
        ASSERT_TRUE(win::input::Click(tool.Item(IDC_REBOOT)));
    }
    const win::HWND box = session_.WaitForBox(std::chrono::seconds(10));
    ASSERT_NE(box, nullptr) << "no result box for the reboot";
    EXPECT_EQ(win::headless::Caption(box), u"提示");

    PressSearch(tool);
    const auto deadline = Clock::now() + kSearchOverWithin;
    while (Clock::now() < deadline && answers_.Replies(tool.Port()) < kRepliesPerSearch) {
        session_.PumpUntil([] { return false; }, milliseconds(5));
    }
    ASSERT_GE(answers_.Replies(tool.Port()), kRepliesPerSearch) << "the devices did not answer";
    // Their way over the veth takes microseconds; the box holds the worker all along.
    session_.PumpUntil([] { return false; }, milliseconds(100));
    EXPECT_EQ(win::headless::OpenMessageBoxes().size(), 1u) << "the box must still be open";
    EXPECT_EQ(nstest::ReadUdpCounters().rcvbufErrors - searchStart_.rcvbufErrors, 0)
        << "replies dropped for a full receive queue while the box was open";

    ASSERT_TRUE(session_.Answer(box, IDOK));
    WaitUntilSearchIsOver();
    ExpectEveryDeviceListedInOrder(tool, "the search while the box was open");
}

// Two tools started at once, as two instances on one PC: each has a port of its own and lists
// every device from its own replies.
TEST_F(NoLostDeviceOnAStockKernel, TwoToolsSideBySideEachListEveryDevice) {
    ASSERT_NO_FATAL_FAILURE(OpenTool());
    ASSERT_NE(tools_[0]->Port(), tools_[1]->Port());
    WaitUntilSearchIsOver();
    ExpectEveryDeviceListedInOrder(*tools_[0], "the first tool's start-up search");
    ExpectEveryDeviceListedInOrder(*tools_[1], "the second tool's start-up search");
}

}  // namespace
