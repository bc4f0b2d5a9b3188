// The main dialog after its start-up search, for the requests the operator starts with "修改"
// and "重启": the texts of the dialogs and boxes on the way, the operator's answers to them, and
// the one request a press puts on the network.
#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "main_dialog_fixture.h"

namespace ui_test {

// The tool's own texts.
inline const std::u16string kCredentialCaption = u"请输入设备的用户名和密码";
inline const std::u16string kDeviceIdCaption = u"对话框";
inline const std::u16string kAppCaption = u"quorvel";
inline const std::u16string kSelectFirst = u"请先选择设备";
inline const std::u16string kTypeInstead = u"请先选择设备或者手动输入？";
inline const std::u16string kTypeInsteadCaption = u"温馨提示";
inline const std::u16string kCredentialsEmpty = u"设备用户名或密码不能为空";
inline const std::u16string kUserNameTooLong = u"用户名过长：最多 19 个字节（GBK 编码）";
inline const std::u16string kPasswordTooLong = u"密码过长：最多 19 个字节（GBK 编码）";
inline const std::u16string kDeviceIdEmpty = u"设备ID不能为空";
inline const std::u16string kDeviceIdTooLong = u"设备ID过长：最多 31 个字节（GBK 编码）";
inline const std::u16string kSerialTooLong = u"所选设备的序列号超过 31 个字节，无法作为设备ID发送";

// Where a request goes from the fixture's one adapter 192.168.1.77/24: the sweep of the host
// addresses, the directed broadcast, the limited broadcast.
inline std::vector<std::string> RequestDestinations() {
    std::vector<std::string> destinations;
    for (int host = 1; host <= 254; ++host) {
        destinations.push_back("192.168.1." + std::to_string(host));
    }
    destinations.push_back("192.168.1.255");
    destinations.push_back("255.255.255.255");
    return destinations;
}

// Equal bytes, or the sizes and the first differing offsets in hex.
inline ::testing::AssertionResult SameBytes(const Bytes& expected, const Bytes& actual) {
    if (expected == actual) {
        return ::testing::AssertionSuccess();
    }
    auto failure = ::testing::AssertionFailure();
    failure << "expected " << expected.size() << " bytes, got " << actual.size() << ";";
    int reported = 0;
    for (std::size_t i = 0; i < std::max(expected.size(), actual.size()) && reported < 8; ++i) {
        const int want = i < expected.size() ? expected[i] : -1;
        const int got = i < actual.size() ? actual[i] : -1;
        if (want != got) {
            char line[64];
            std::snprintf(line, sizeof line, " [%zu] %02x!=%02x", i, want & 0xFF, got & 0xFF);
            failure << line;
            ++reported;
        }
    }
    return failure;
}

inline int MessageBoxesShown(const win::headless::Session& session) {
    return static_cast<int>(std::count_if(session.Shown().begin(), session.Shown().end(),
                                          [](const auto& shown) { return shown.messageBox; }));
}

class RequestFixture : public MainDialogFixture {
  protected:
    void SetUp() override {
        MainDialogFixture::SetUp();
        network.ClearSent();
    }

    // The operator types both texts into the credential dialog and presses "确定".
    win::headless::Script& AnswerCredentials(const std::u16string& user,
                                             const std::u16string& password) {
        return session.ExpectDialog(kCredentialCaption)
            .Type(IDC_USERNAME, user)
            .Type(IDC_PASSWORD, password)
            .Click(IDOK);
    }

    // Lists a device and selects its line.
    void AddAndSelect(const DeviceReply& device, const char* from = kDeviceAddress) {
        const std::size_t before = Lines().size();
        Deliver(device.Encode(kSession), from);
        ASSERT_EQ(Lines().size(), before + 1) << "the device was not listed";
        Select(static_cast<int>(before));
    }

    // The request of one press: the same bytes to every destination, on port 5050. Empty when
    // nothing was sent (a failure is reported then).
    Bytes SentRequest() {
        const auto sent = network.SentDatagrams();
        network.ClearSent();
        std::vector<std::string> destinations;
        for (const auto& datagram : sent) {
            destinations.push_back(datagram.AddressText());
            EXPECT_EQ(datagram.port, 5050);
        }
        EXPECT_EQ(destinations, RequestDestinations());
        if (sent.empty()) {
            return {};
        }
        const bool identical = std::all_of(sent.begin(), sent.end(), [&](const auto& datagram) {
            return datagram.bytes == sent.front().bytes;
        });
        EXPECT_TRUE(identical) << "every destination gets the same request";
        return sent.front().bytes;
    }

    int BoxesShown() const { return MessageBoxesShown(session); }
};

}  // namespace ui_test
