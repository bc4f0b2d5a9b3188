// The main dialog with the real endpoint, sender and worker on a veth, against the simulated
// devices of devices/three_devices.conf: what the list and the panel show after the start-up
// search, and what a modify and a reboot put on the wire and bring back. The operator is the
// headless session's; everything below the window is real.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "afx/testing/open_dialog.h"
#include "ns/devsim_record.h"
#include "platform/codepage.h"
#include "platform/sockets.h"
#include "ui/quorvel_dlg.h"
#include "ui/reply_bytes.h"
#include "ui/resource.h"
#include "win/headless/probe.h"
#include "win/headless/session.h"

namespace {

using devsim_record::CommandOf;
using devsim_record::Datagram;
using devsim_record::Direction;
using ui_test::Bytes;
using ui_test::PutBe32;
using ui_test::PutText;

constexpr auto kTimeout = std::chrono::seconds(10);

// Each device answers every copy of a request: its own address in the sweep, the directed and
// the limited broadcast.
constexpr int kCopiesPerDevice = 3;
constexpr int kDevices = 3;

// The lines of three_devices.conf's devices, in the order of the sweep (.10, .11, .12), written
// from the line table: number and blank, "IP:", address, " -->( 序列号:", then two blanks before
// each further label, " )" at the end.
const std::u16string kLines[kDevices] = {
    u"1 IP:198.51.100.10 -->( 序列号:序列-01  名称:前台摄像机  类型:IPC-100  固件:V1.2.3  "
    u"软件:V4.5.6  激活日期:2023-01-01  升级日期:2024-02-02 )",
    u"2 IP:198.51.100.11 -->( 序列号:NS0002  名称:Gate-2  类型:NVR-400  固件:2.0.1  "
    u"软件:2.7.0  激活日期:2022-05-05  升级日期:2023-11-11 )",
    u"3 IP:198.51.100.12 -->( 序列号:NS0003  名称:Lab-3  类型:T200  固件:1.2.0  "
    u"软件:3.1.4  激活日期:2023-03-15  升级日期:2024-01-20 )",
};

// Every address of the LAN side that the sweep reaches, and the two broadcasts.
const std::set<std::string> kRequestDestinations = {
    "198.51.100.10", "198.51.100.11", "198.51.100.12", "198.51.100.255", "255.255.255.255"};

// Equal bytes, or the sizes and the first offsets that differ.
::testing::AssertionResult SameBytes(const Bytes& expected, const Bytes& actual) {
    if (expected == actual) {
        return ::testing::AssertionSuccess();
    }
    auto failure = ::testing::AssertionFailure();
    failure << "expected " << expected.size() << " bytes, got " << actual.size() << ":";
    for (std::size_t i = 0, shown = 0; i < std::max(expected.size(), actual.size()) && shown < 8;
         ++i) {
        const int want = i < expected.size() ? expected[i] : -1;
        const int got = i < actual.size() ? actual[i] : -1;
        if (want != got) {
            failure << " [" << i << "] " << want << "!=" << got;
            ++shown;
        }
    }
    return failure;
}

void PutBytes(Bytes& b, std::size_t at, const Bytes& bytes) {
    std::copy(bytes.begin(), bytes.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
}

class MainDialogOnTheWire : public ::testing::Test {
  protected:
    void SetUp() override {
        recordPath_ = devsim_record::PathFromEnvironment();
        ASSERT_FALSE(recordPath_.empty()) << "run with netns-run --devices";
        recordStart_ = devsim_record::Read(recordPath_).size();
        AfxWinInit("/usr/bin/quorvel");

        dialog_ = std::make_unique<CQuorvelDlg>();
        opened_ = std::make_unique<afx::testing::OpenDialog>(*dialog_);
        hwnd_ = opened_->Handle();
        ASSERT_NE(hwnd_, nullptr);
        ASSERT_NE(dialog_->m_sock, plat::INVALID_SOCKET) << "the endpoint was not set up";
        plat::SockAddrIn bound{};
        int length = sizeof bound;
        ASSERT_EQ(plat::getsockname(dialog_->m_sock, &bound, &length), 0);
        port_ = plat::NetToHost16(bound.sin_port);

        // The start-up search: every copy answered, and everything the worker took handled.
        ASSERT_NO_FATAL_FAILURE(WaitForRecord(
            [&](const std::vector<Datagram>& r) {
                return Count(r, Direction::Sent, 0xF001) >= kDevices * kCopiesPerDevice;
            },
            "the devices' answers to the start-up search"));
        ASSERT_TRUE(FlushWorker());
    }

    void TearDown() override {
        opened_.reset();
        dialog_.reset();
    }

    std::vector<std::u16string> Lines() const { return win::headless::ListLines(hwnd_, IDC_LIST); }
    HWND Item(int id) const { return win::GetDlgItem(hwnd_, id); }
    void Select(int line) { ASSERT_TRUE(win::input::SelectLine(Item(IDC_LIST), line)); }
    void Click(int id) { ASSERT_TRUE(win::input::Click(Item(id))); }

    // Lists one more device, from this process to the dialog's port. The worker handles
    // datagrams in arrival order and shows result boxes itself, so once this line is there,
    // everything that arrived before it has been handled and no box holds the worker.
    bool FlushWorker() {
        const std::string serial = "SENTINEL-" + std::to_string(++sentinels_);
        ui_test::DeviceReply sentinel;
        sentinel.serial = serial;
        const Bytes datagram = sentinel.Encode(dialog_->m_dwSessionId);

        plat::WSAData data{};
        plat::WSAStartup(0x0202, &data);
        const plat::SOCKET s = plat::WSASocketW(plat::kAfInet, plat::kSockDgram, 0, nullptr, 0, 0);
        plat::SockAddrIn to{};
        to.sin_family = plat::kAfInet;
        to.sin_port = plat::HostToNet16(port_);
        to.sin_addr.s_addr = plat::inet_addr("127.0.0.1");
        const int sent = plat::sendto(s, reinterpret_cast<const char*>(datagram.data()),
                                      static_cast<int>(datagram.size()), 0, &to, sizeof to);
        plat::closesocket(s);
        plat::WSACleanup();
        EXPECT_EQ(sent, static_cast<int>(datagram.size()));

        const std::u16string mark = u"序列号:" + plat::Utf8ToWide(serial) + u" ";
        const bool listed = session_.PumpUntil(
            [&] {
                const auto lines = Lines();
                return std::any_of(lines.begin(), lines.end(), [&](const std::u16string& line) {
                    return line.find(mark) != std::u16string::npos;
                });
            },
            kTimeout);
        EXPECT_TRUE(listed) << "the worker did not get to the sentinel (" << OpenBoxes()
                            << " boxes open)";
        return listed;
    }

    // This dialog's part of the simulator's record.
    std::vector<Datagram> Record() const {
        auto record = devsim_record::Read(recordPath_);
        record.erase(record.begin(), record.begin() + static_cast<std::ptrdiff_t>(
                                                          std::min(recordStart_, record.size())));
        std::erase_if(record, [&](const Datagram& d) { return d.peerPort != port_; });
        return record;
    }
    void WaitForRecord(const std::function<bool(const std::vector<Datagram>&)>& done,
                       const char* what) {
        const auto deadline = std::chrono::steady_clock::now() + kTimeout;
        while (!done(Record())) {
            ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no " << what;
            session_.PumpUntil([] { return false; }, std::chrono::milliseconds(10));
        }
    }
    static int Count(const std::vector<Datagram>& record, Direction direction,
                     std::uint32_t command) {
        return static_cast<int>(std::count_if(record.begin(), record.end(), [&](const auto& d) {
            return d.direction == direction && CommandOf(d) == command;
        }));
    }

    // The operator answers the credential dialog.
    void AnswerCredentials(const std::u16string& user, const std::u16string& password) {
        session_.ExpectDialog(u"请输入设备的用户名和密码")
            .Type(IDC_USERNAME, user)
            .Type(IDC_PASSWORD, password)
            .Click(IDOK);
    }

    // After a press: every copy of the request the simulator received is `expected`, and it
    // reached every address on the LAN side; then the one device's three answers went out.
    void ExpectRequestOnTheWire(const Bytes& expected, std::uint32_t command) {
        const std::uint32_t reply = 0xF000u | command;
        ASSERT_NO_FATAL_FAILURE(WaitForRecord(
            [&](const std::vector<Datagram>& r) {
                return Count(r, Direction::Received, command) >=
                           static_cast<int>(kRequestDestinations.size()) &&
                       Count(r, Direction::Sent, reply) >= kCopiesPerDevice;
            },
            "request and answers"));
        std::set<std::string> destinations;
        for (const Datagram& d : Record()) {
            if (d.direction == Direction::Received && CommandOf(d) == command) {
                EXPECT_TRUE(SameBytes(expected, d.bytes)) << "the copy to " << d.local;
                destinations.insert(d.local);
            }
        }
        EXPECT_EQ(destinations, kRequestDestinations);
        EXPECT_EQ(Count(Record(), Direction::Sent, reply), kCopiesPerDevice);
    }

    // The first result box, answered; the later copies of the answer show none.
    void ExpectOneResultBox(const std::u16string& caption, const std::u16string& text) {
        const HWND box = session_.WaitForBox(kTimeout);
        ASSERT_NE(box, nullptr) << "no result box";
        EXPECT_EQ(win::headless::Caption(box), caption);
        EXPECT_EQ(win::headless::BoxText(box), text);
        ASSERT_TRUE(session_.Answer(box, IDOK));
        ASSERT_TRUE(FlushWorker());
        EXPECT_EQ(OpenBoxes(), 0u);
        const auto& shown = session_.Shown();
        EXPECT_EQ(std::count_if(shown.begin(), shown.end(), [](auto& s) { return s.messageBox; }),
                  1);
    }

    static std::size_t OpenBoxes() { return win::headless::OpenMessageBoxes().size(); }

    win::headless::Session session_{[](const std::string& m) { ADD_FAILURE() << m; }};
    std::unique_ptr<CQuorvelDlg> dialog_;
    std::unique_ptr<afx::testing::OpenDialog> opened_;
    HWND hwnd_ = nullptr;
    std::string recordPath_;
    std::size_t recordStart_ = 0;
    std::uint16_t port_ = 0;
    int sentinels_ = 0;
};

TEST_F(MainDialogOnTheWire, EachDeviceIsListedOnceWithItsLine) {
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(kDevices) + 1) << "three devices, a sentinel";
    for (int i = 0; i < kDevices; ++i) {
        EXPECT_EQ(lines[static_cast<std::size_t>(i)], kLines[i]) << plat::WideToUtf8(lines[i]);
    }
}

// One interface row as the panel shows it.
struct Row {
    std::u16string name, ip, mask, gateway;
    bool automatic;  // box checked, address controls disabled
};

void ExpectRow(HWND dialog, int row, const Row& want) {
    const int base = IDC_NAME1 + IDC_ROW_STRIDE * row;
    using win::headless::ShownText;
    EXPECT_EQ(ShownText(dialog, base), want.name) << "row " << row;
    EXPECT_EQ(ShownText(dialog, base + 1), want.ip) << "row " << row;
    EXPECT_EQ(ShownText(dialog, base + 2), want.mask) << "row " << row;
    EXPECT_EQ(ShownText(dialog, base + 3), want.gateway) << "row " << row;
    EXPECT_EQ(win::headless::CheckState(dialog, base + 4), want.automatic ? 1 : 0) << "row " << row;
    for (int control = base + 1; control <= base + 3; ++control) {
        EXPECT_EQ(win::headless::IsEnabled(dialog, control), !want.automatic) << "row " << row;
    }
}

TEST_F(MainDialogOnTheWire, SelectingALineFillsThePanelFromThatDevice) {
    // Four entries, the first without an address: it is skipped. Flag bytes 01 00 00 00 and
    // 00 00 00 01 both mean automatic.
    Select(1);
    const Row eth0{u"eth0", u"198.51.100.11", u"255.255.255.0", u"198.51.100.1", false};
    const Row eth1{u"eth1", u"10.1.2.3", u"255.255.0.0", u"10.1.0.1", true};
    const Row wlan0{u"wlan0", u"192.168.8.1", u"255.255.255.0", u"192.168.8.254", true};
    ExpectRow(hwnd_, 0, eth0);
    ExpectRow(hwnd_, 1, eth1);
    ExpectRow(hwnd_, 2, wlan0);
    EXPECT_EQ(win::headless::ShownText(hwnd_, IDC_DNS1), u"8.8.8.8");
    EXPECT_EQ(win::headless::ShownText(hwnd_, IDC_DNS2), u"8.8.4.4");

    // One entry: row 0 from this device, rows 1 and 2 as the previous one left them.
    Select(0);
    ExpectRow(hwnd_, 0, {u"eth0", u"198.51.100.10", u"255.255.255.0", u"198.51.100.1", false});
    ExpectRow(hwnd_, 1, eth1);
    ExpectRow(hwnd_, 2, wlan0);
    EXPECT_EQ(win::headless::ShownText(hwnd_, IDC_DNS1), u"198.51.100.1");
    EXPECT_EQ(win::headless::ShownText(hwnd_, IDC_DNS2), u"198.51.100.2");
}

// The modify request for device NS0003 with row 0's address changed by the operator, written
// from the request table: header (command 2, payload 600), user name at 36, password at 56, the
// device's 336 identity bytes from 76 (name, serial at 268, type 300, activation 332, firmware
// 352, software 372, upgrade 392), the DNS box at 412, DNS texts at 416 and 436, the count at 456,
// then one 88-byte entry per row: texts at 0/20/40/60, the device's opaque bytes at 80, the row
// box at 84.
Bytes ExpectedModify(std::uint32_t session) {
    Bytes b = ui_test::Header(2, session, 460 + 88 * 2);
    PutText(b, 36, "\xB9\xDC\xC0\xED\xD4\xB1");  // 管理员 in code page 936
    PutText(b, 56, "pw 1");
    PutText(b, 76, "Lab-3");
    PutText(b, 268, "NS0003");
    PutText(b, 300, "T200");
    PutText(b, 332, "2023-03-15");
    PutText(b, 352, "1.2.0");
    PutText(b, 372, "3.1.4");
    PutText(b, 392, "2024-01-20");
    PutBe32(b, 412, 0);  // the box, not the device's own flag (00 00 00 01)
    PutText(b, 416, "114.114.114.114");
    PutText(b, 436, "223.5.5.5");
    PutBe32(b, 456, 2);
    PutText(b, 460, "eth0");
    PutText(b, 480, "198.51.100.99");
    PutText(b, 500, "255.255.255.0");
    PutText(b, 520, "198.51.100.1");
    PutBytes(b, 540, {0x0B, 0xAD, 0xCA, 0xFE});
    PutBe32(b, 544, 0);
    PutText(b, 548, "wlan0");
    PutText(b, 568, "172.16.0.9");
    PutText(b, 588, "255.255.240.0");
    PutText(b, 608, "172.16.0.1");
    PutBytes(b, 628, {0xDE, 0xAD, 0xBE, 0xEF});
    PutBe32(b, 632, 1);
    return b;
}

TEST_F(MainDialogOnTheWire, ModifyReachesTheDeviceAndItsRefusalShowsOneBox) {
    Select(2);
    ASSERT_TRUE(win::input::SetText(Item(IDC_IP1), u"198.51.100.99"));
    AnswerCredentials(u"管理员", u"pw 1");
    Click(IDC_MODIFY);

    ASSERT_NO_FATAL_FAILURE(ExpectRequestOnTheWire(ExpectedModify(dialog_->m_dwSessionId), 2));
    ExpectOneResultBox(u"修改失败", u"IP地址冲突");
}

// As an unprivileged program on a stock kernel: each kernel socket gets 425,984 bytes of send
// buffer, and a 724-byte modify request (three rows) to every host of the /24 fills one: each
// datagram to an absent host holds its room for the 3 s of address resolution. The press must
// not wait for that; the request still reaches every address and the device's answer still
// shows its box.
class MainDialogOnTheWireAtTheStockBuffer : public MainDialogOnTheWire {
  protected:
    void SetUp() override {
        plat::testing::CapKernelSocketBuffers(212992);  // net.core.wmem_max of a stock kernel
        MainDialogOnTheWire::SetUp();
    }
    void TearDown() override {
        MainDialogOnTheWire::TearDown();
        plat::testing::CapKernelSocketBuffers(0);
    }
};

TEST_F(MainDialogOnTheWireAtTheStockBuffer, TheModifyPressReturnsAtOnce) {
    Select(1);  // three rows: the largest request
    AnswerCredentials(u"admin", u"secret");
    const auto pressed = std::chrono::steady_clock::now();
    Click(IDC_MODIFY);
    const auto returned = std::chrono::steady_clock::now() - pressed;
    // Generous for a loaded machine: the press used to hold the window for 3 s.
    EXPECT_LT(returned, std::chrono::milliseconds(1000));

    ASSERT_NO_FATAL_FAILURE(WaitForRecord(
        [&](const std::vector<Datagram>& r) {
            return Count(r, Direction::Received, 2) >=
                       static_cast<int>(kRequestDestinations.size()) &&
                   Count(r, Direction::Sent, 0xF002) >= kCopiesPerDevice;
        },
        "request and answers"));
    std::set<std::string> destinations;
    for (const Datagram& d : Record()) {
        if (d.direction == Direction::Received && CommandOf(d) == 2) {
            EXPECT_EQ(d.bytes.size(), 724u) << "the copy to " << d.local;
            destinations.insert(d.local);
        }
    }
    EXPECT_EQ(destinations, kRequestDestinations);
    ExpectOneResultBox(u"提示", u"IP已修改，请重启设备");
}

struct RebootCase {
    const char* name;
    int line;
    std::string deviceId;  // the serial as the device sent it
    std::u16string caption;
    std::u16string text;
};

void PrintTo(const RebootCase& c, std::ostream* out) {
    *out << c.name;
}

class RebootOnTheWire : public MainDialogOnTheWire,
                        public ::testing::WithParamInterface<RebootCase> {};

// 108 bytes: header (command 4, payload 72), user name at 36, password at 56, device ID at 76.
TEST_P(RebootOnTheWire, ReachesTheDeviceByItsSerialAndItsAnswerShowsOneBox) {
    const RebootCase& c = GetParam();
    Select(c.line);
    AnswerCredentials(u"admin", u"secret");
    Click(IDC_REBOOT);

    Bytes expected = ui_test::Header(4, dialog_->m_dwSessionId, 108);
    PutText(expected, 36, "admin");
    PutText(expected, 56, "secret");
    PutText(expected, 76, c.deviceId);
    ASSERT_NO_FATAL_FAILURE(ExpectRequestOnTheWire(expected, 4));
    ExpectOneResultBox(c.caption, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, RebootOnTheWire,
    ::testing::Values(RebootCase{"RefusedWithAText", 0, "\xD0\xF2\xC1\xD0-01",  // 序列-01
                                 u"用戶名或密码错误", u"密码错误"},
                      RebootCase{"Accepted", 2, "NS0003", u"提示", u"设备正在重启设备。。。"}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
