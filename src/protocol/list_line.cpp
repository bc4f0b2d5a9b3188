#include "protocol/list_line.h"

#include <string>

#include "protocol/text_conversion.h"

namespace protocol {

namespace {

constexpr std::u16string_view kAddressLabel = u"IP:";
constexpr std::u16string_view kAddressEnd = u"-->";

bool IsWhiteSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

}  // namespace

std::u16string DeviceLineText(std::string_view sourceAddress, const DeviceInfo& info) {
    std::u16string line;
    line += kAddressLabel;
    line += AnsiToWide(sourceAddress);
    line += u" -->( 序列号:";
    line += AnsiToWide(info.Serial());
    line += u"  名称:";
    line += AnsiToWide(Utf8ToAnsi(info.Name()));
    line += u"  类型:";
    line += AnsiToWide(info.Type());
    // The versions come before the dates, although the block holds the activation date first.
    line += u"  固件:";
    line += AnsiToWide(info.FirmwareVersion());
    line += u"  软件:";
    line += AnsiToWide(info.SoftwareVersion());
    line += u"  激活日期:";
    line += AnsiToWide(info.ActivationDate());
    line += u"  升级日期:";
    line += AnsiToWide(info.UpgradeDate());
    line += u" )";
    return line;
}

std::u16string NumberedLine(int lineNumber, std::u16string_view text) {
    const std::string digits = std::to_string(lineNumber);
    std::u16string line(digits.begin(), digits.end());
    line += u' ';
    line += text;
    return line;
}

std::u16string AddressFromLine(std::u16string_view line) {
    const std::size_t label = line.find(kAddressLabel);
    if (label == std::u16string_view::npos) {
        return {};
    }
    const std::size_t start = label + kAddressLabel.size();
    std::size_t end = line.find(kAddressEnd, start);
    if (end == std::u16string_view::npos) {
        return {};
    }
    std::size_t first = start;
    while (first < end && IsWhiteSpace(line[first])) {
        ++first;
    }
    while (end > first && IsWhiteSpace(line[end - 1])) {
        --end;
    }
    return std::u16string(line.substr(first, end - first));
}

}  // namespace protocol
