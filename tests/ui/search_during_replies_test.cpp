// Replies keep arriving while searches empty the list: every line must still belong to the
// record at its index, numbered from 1 without gaps.
#include <atomic>
#include <thread>

#include "main_dialog_fixture.h"

namespace ui_test {
namespace {

using SearchDuringRepliesTest = MainDialogFixture;

TEST_F(SearchDuringRepliesTest, LinesAndRecordsStayTogether) {
    std::atomic<bool> feeding = true;
    std::thread feeder([&] {
        for (int i = 0; feeding.load(); i = (i + 1) % 150) {
            DeviceReply reply;
            reply.serial = "R" + std::to_string(i);
            network.QueueDatagram(reply.Encode(kSession), plat::testing::Ip(kDeviceAddress));
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
    });
    for (int search = 0; search < 5; ++search) {
        session.PumpUntil([&] { return Lines().size() >= 20; }, std::chrono::seconds(2));
        Click(IDC_SEARCH);
    }
    feeding = false;
    feeder.join();
    Settle();

    const auto lines = Lines();
    ASSERT_FALSE(lines.empty());
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::u16string number = plat::Utf8ToWide(std::to_string(i + 1) + " IP:");
        EXPECT_EQ(lines[i].substr(0, number.size()), number) << "line " << i;
        const std::u16string serial =
            u"序列号:" + plat::Utf8ToWide(dialog->m_devices[i].info.Serial()) + u"  名称:";
        EXPECT_NE(lines[i].find(serial), std::u16string::npos) << "line " << i;
    }
}

}  // namespace
}  // namespace ui_test
