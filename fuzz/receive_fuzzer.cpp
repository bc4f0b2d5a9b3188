// fuzz_receive: datagrams from any source through the real receive step of a headless main
// dialog, and the operator's use of what they listed. Input layout: receive_input.h.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/check.h"
#include "fuzz/input_reader.h"
#include "fuzz/receive_checks.h"
#include "fuzz/receive_harness.h"
#include "fuzz/receive_input.h"
#include "fuzz/request_checks.h"
#include "platform/sockets.h"
#include "protocol/reboot_request.h"
#include "ui/resource.h"

namespace fuzz {
namespace {

using namespace fuzz::receive;

std::u16string AddressText(std::uint32_t from) {
    const std::string dotted = plat::inet_ntoa(plat::InAddr{from});
    return std::u16string(dotted.begin(), dotted.end());
}

// Long datagrams from short inputs: the last entry again and again.
void Lengthen(std::vector<std::uint8_t>& datagram, std::size_t total) {
    if (total <= datagram.size()) {
        return;
    }
    if (datagram.size() < kRepeatUnit) {
        datagram.resize(total, 0);
        return;
    }
    const std::size_t unit = datagram.size() - kRepeatUnit;
    datagram.reserve(total);
    for (std::size_t i = 0; datagram.size() < total; ++i) {
        datagram.push_back(datagram[unit + i % kRepeatUnit]);
    }
}

// 0xFF is "no line" (-1); every other value is a line index, some past the end of the list.
int LineOf(std::uint8_t value) {
    return value == 0xFF ? -1 : value;
}

class InputRun {
  public:
    InputRun(ReceiveHarness& harness, InputReader& input) : harness_(harness), input_(input) {}

    void Datagram(bool lengthen) {
        const std::uint32_t from = input_.Raw32();
        const std::span<const std::uint8_t> bytes = input_.Bytes(input_.Le16());
        std::vector<std::uint8_t> datagram(bytes.begin(), bytes.end());
        if (lengthen) {
            Lengthen(datagram, 2 * std::size_t{input_.Le16()});
        }
        addresses_.insert(AddressText(from));
        harness_.Deliver(std::move(datagram), from);
        CheckListed(harness_.Dialog(), harness_.Lines(), addresses_);
    }

    void Select(int line) {
        harness_.Select(line);
        CheckPanelTexts(harness_.Dialog());
    }

    void DoubleClick(int line) {
        const std::size_t before = harness_.OpenedUrls().size();
        if (harness_.DoubleClick(line)) {
            CheckOpenedPage(harness_.OpenedUrls(), before, addresses_);
        } else {
            FUZZ_CHECK(harness_.OpenedUrls().size() == before);
        }
        CheckPanelTexts(harness_.Dialog());
    }

    void Press(std::uint8_t target) {
        switch (target % kPressTargetCount) {
            case kAutoRow0:
            case kAutoRow1:
            case kAutoRow2: {
                const int stride = IDC_ROW_STRIDE * (target % kPressTargetCount);
                harness_.Click(IDC_AUTO1 + stride);
                CheckAutoBox(harness_.Dialog().GetSafeHwnd(), IDC_AUTO1 + stride,
                             {IDC_IP1 + stride, IDC_MASK1 + stride, IDC_GATEWAY1 + stride});
                break;
            }
            case kDnsAuto:
                harness_.Click(IDC_DNS_AUTO);
                CheckAutoBox(harness_.Dialog().GetSafeHwnd(), IDC_DNS_AUTO, {IDC_DNS1, IDC_DNS2});
                break;
            case kModify:
                PressModify();
                break;
            case kReboot:
                PressReboot();
                break;
            default:
                break;
        }
    }

    // Every listed device selected in turn, then the last line double-clicked.
    void Finish() {
        const std::vector<std::u16string> lines = harness_.Lines();
        CheckListed(harness_.Dialog(), lines, addresses_);
        CheckSerialsUnique(harness_.Dialog(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            Select(static_cast<int>(i));
        }
        if (!lines.empty()) {
            DoubleClick(static_cast<int>(lines.size() - 1));
        }
    }

  private:
    void PressModify() {
        const int selection = harness_.Selection();
        const std::optional<std::vector<std::uint8_t>> request = harness_.PressModify();
        FUZZ_CHECK(request.has_value() == (selection >= 0));
        if (!request) {
            return;
        }
        const protocol::CDeviceRecord& record =
            harness_.Dialog().m_devices[static_cast<std::size_t>(selection)];
        CheckModifyRequest(*request, ReceiveHarness::kSessionId, record);
        CheckCredentials(*request);
    }

    void PressReboot() {
        const int selection = harness_.Selection();
        const std::optional<std::vector<std::uint8_t>> request = harness_.PressReboot();
        if (!request) {
            return;
        }
        FUZZ_CHECK(selection >= 0);
        CheckRebootRequest(*request, ReceiveHarness::kSessionId);
        CheckCredentials(*request);
        const std::optional<std::string> serial = protocol::RebootDeviceId(
            harness_.Dialog().m_devices[static_cast<std::size_t>(selection)].info);
        FUZZ_CHECK(serial.has_value());
        const std::span<const std::uint8_t> id = FieldText(*request, 76, 32);
        FUZZ_CHECK(std::string(id.begin(), id.end()) == *serial);
    }

    // Both requests carry the credentials at datagram offsets 36 and 56.
    static void CheckCredentials(std::span<const std::uint8_t> request) {
        const std::span<const std::uint8_t> user = FieldText(request, 36, 20);
        const std::span<const std::uint8_t> password = FieldText(request, 56, 20);
        FUZZ_CHECK(std::string(user.begin(), user.end()) == "admin");
        FUZZ_CHECK(std::string(password.begin(), password.end()) == "pw");
    }

    ReceiveHarness& harness_;
    InputReader& input_;
    SourceAddresses addresses_;
};

}  // namespace
}  // namespace fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace fuzz::receive;
    fuzz::InputReader input(data, size);
    fuzz::ReceiveHarness& harness = fuzz::ReceiveHarness::Instance();
    harness.StartInput((input.Byte() & kFlagResultShown) != 0);

    fuzz::InputRun run(harness, input);
    while (!input.AtEnd()) {
        const std::uint8_t op = input.Byte() % kOpCount;
        if (op <= kDatagramLast || op == kLongDatagram) {
            run.Datagram(op == kLongDatagram);
        } else if (op == kSelect) {
            run.Select(fuzz::LineOf(input.Byte()));
        } else if (op == kDoubleClick) {
            run.DoubleClick(fuzz::LineOf(input.Byte()));
        } else {
            run.Press(input.Byte());
        }
    }
    run.Finish();
    return 0;
}
