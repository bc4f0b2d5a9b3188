#include "fuzz/receive_checks.h"

#include "fuzz/check.h"
#include "protocol/list_line.h"
#include "win/headless/probe.h"

namespace fuzz {

namespace {

// The longest line the list can hold: the number "200 ", the fixed labels (49 units) and each
// value at most as many units as its field has bytes (a GBK or UTF-8 character never needs more
// units than bytes): address 15, serial 32, name 192, type 32, two versions and two dates 20.
constexpr std::size_t kLongestLine = 4 + 49 + 15 + 32 + 192 + 32 + 4 * 20;
constexpr std::size_t kDeviceTableSize = 200;
constexpr std::size_t kMostEntriesInReceiveBuffer = (65536 - 36 - 584) / 88;
constexpr int kTextFieldSize = 20;

std::u16string Number(std::size_t n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

void CheckListed(const CQuorvelDlg& dialog, const std::vector<std::u16string>& lines,
                 const SourceAddresses& addresses) {
    FUZZ_CHECK(lines.size() <= kDeviceTableSize);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::u16string& line = lines[i];
        FUZZ_CHECK(line.starts_with(Number(i + 1) + u" IP:"));
        FUZZ_CHECK(line.size() <= kLongestLine);
        FUZZ_CHECK(line.find(u'\0') == std::u16string::npos);
        FUZZ_CHECK(addresses.contains(protocol::AddressFromLine(line)));
        FUZZ_CHECK(dialog.m_devices[i].nics.size() <= kMostEntriesInReceiveBuffer);
    }
}

void CheckSerialsUnique(const CQuorvelDlg& dialog, std::size_t lineCount) {
    std::set<std::string> serials;
    for (std::size_t i = 0; i < lineCount; ++i) {
        const std::string serial = dialog.m_devices[i].info.Serial();
        FUZZ_CHECK(serial.size() <= 32);
        FUZZ_CHECK(serials.insert(serial).second);
    }
}

void CheckPanelTexts(const CQuorvelDlg& dialog) {
    for (int row = 0; row < CQuorvelDlg::kRows; ++row) {
        FUZZ_CHECK(dialog.m_strName[row].GetLength() <= kTextFieldSize);
        FUZZ_CHECK(dialog.m_strIp[row].GetLength() <= kTextFieldSize);
        FUZZ_CHECK(dialog.m_strMask[row].GetLength() <= kTextFieldSize);
        FUZZ_CHECK(dialog.m_strGateway[row].GetLength() <= kTextFieldSize);
    }
    FUZZ_CHECK(dialog.m_strDns1.GetLength() <= kTextFieldSize);
    FUZZ_CHECK(dialog.m_strDns2.GetLength() <= kTextFieldSize);
}

void CheckAutoBox(win::HWND window, int boxId, const std::vector<int>& addressIds) {
    const bool automatic = win::headless::CheckState(window, boxId) > 0;
    for (const int id : addressIds) {
        FUZZ_CHECK(win::headless::IsEnabled(window, id) == !automatic);
    }
}

void CheckOpenedPage(const std::vector<std::u16string>& urls, std::size_t before,
                     const SourceAddresses& addresses) {
    constexpr std::u16string_view kScheme = u"http://";
    FUZZ_CHECK(urls.size() == before + 1);
    FUZZ_CHECK(urls.back().starts_with(kScheme));
    FUZZ_CHECK(addresses.contains(urls.back().substr(kScheme.size())));
}

}  // namespace fuzz
