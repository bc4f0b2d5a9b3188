// The text of a device's line in the device list, and the address read back out of a line.
//   "<n> IP:<address> -->( 序列号:<serial>  名称:<name>  类型:<type>  固件:<firmware>
//    软件:<software>  激活日期:<activation>  升级日期:<upgrade> )"   (one line)
#pragma once

#include <string>
#include <string_view>

#include "protocol/device_info.h"

namespace protocol {

// The line without its number, from "IP:" to " )". `sourceAddress` is the reply's dotted source
// address. Every value passes AnsiToWide (the name through Utf8ToAnsi first), so a value that
// would need more than 1024 UTF-16 units shows empty.
std::u16string DeviceLineText(std::string_view sourceAddress, const DeviceInfo& info);

// "<lineNumber> " followed by `text`: the line as inserted; lineNumber is its index plus 1.
std::u16string NumberedLine(int lineNumber, std::u16string_view text);

// The device address of a list line: the text between the first "IP:" and the first "-->"
// after it, white space trimmed at both ends. "" when either marker is missing (a line this
// tool did not write), so the caller opens no page.
std::u16string AddressFromLine(std::u16string_view line);

}  // namespace protocol
