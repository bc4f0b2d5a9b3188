// The device's web page: a double click on a line opens "http://" and the address of its reply.
#include <chrono>
#include <functional>
#include <optional>

#include "main_dialog_fixture.h"

namespace ui_test {
namespace {

const std::u16string kPage = u"http://192.168.1.10";

class WebPageTest : public MainDialogFixture {
  protected:
    // Lists `count` devices in order; the reply of line n (1-based) comes from addressOf(n).
    void ListDevices(int count, const std::function<std::string(int)>& addressOf) {
        for (int line = 1; line <= count; ++line) {
            DeviceReply device;
            device.serial = "D" + std::to_string(line);
            network.QueueDatagram(device.Encode(kSession),
                                  plat::testing::Ip(addressOf(line).c_str()));
        }
        ASSERT_TRUE(session.PumpUntil([&] { return static_cast<int>(Lines().size()) == count; },
                                      std::chrono::seconds(20)));
    }
    void DoubleClick(int line) {
        ASSERT_TRUE(win::input::DoubleClickLine(Item(IDC_LIST), line - 1));
    }
    // LBN_DBLCLK as the list sends it for a double click below its last line.
    void DoubleClickBelowTheLines() {
        win::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_LIST, LBN_DBLCLK),
                          reinterpret_cast<LPARAM>(Item(IDC_LIST)));
    }
};

TEST_F(WebPageTest, LinesOfAnyNumberOpenTheAddressOfTheirReply) {
    ListDevices(100, [](int line) {
        return line == 1 || line == 10 || line == 100 ? "192.168.1.10"
                                                      : "10.0." + std::to_string(line) + ".7";
    });
    DoubleClick(1);
    DoubleClick(10);
    DoubleClick(100);
    DoubleClick(99);
    EXPECT_EQ(shell.Opened(),
              (std::vector<std::u16string>{kPage, kPage, kPage, u"http://10.0.99.7"}));
}

TEST_F(WebPageTest, NothingSelectedOpensNothing) {
    ListDevices(2, [](int) { return std::string("192.168.1.10"); });
    DoubleClickBelowTheLines();
    Select(0);
    Click(IDC_SEARCH);  // empties the list: no selection again
    ListDevices(1, [](int) { return std::string("192.168.1.10"); });
    DoubleClickBelowTheLines();
    EXPECT_TRUE(shell.Opened().empty());
}

TEST_F(WebPageTest, EnterOnTheListEndsTheDialogWithoutOpeningAPage) {
    ListDevices(1, [](int) { return std::string("192.168.1.10"); });
    Select(0);
    ASSERT_EQ(win::headless::FocusedId(hwnd), IDC_LIST);
    win::input::PressKey(hwnd, win::input::Key::Enter);
    EXPECT_EQ(opened->EndCode(), std::optional<INT_PTR>(IDOK));
    EXPECT_TRUE(shell.Opened().empty());
}

}  // namespace
}  // namespace ui_test
