// The simulator's device list: a config file, or a generated list for load runs.
//
// Config file: one statement per line; blank lines and lines starting with '#' are skipped.
// `device ADDRESS` starts a device; the lines after it describe that device until the next
// `device` line. Keys:
//
//   device 198.51.100.10          dotted IPv4; the device answers from this address
//   serial SIM0001                texts: the rest of the line after one blank, trailing blanks
//   name 前台摄像机                  cut; `hex:...` instead gives the raw bytes (GBK, or a field
//   type IPC-100                   filled to its width with no NUL). Widths: name 192 (UTF-8),
//   firmware V1.2.3                serial and type 32, the others 20. Too long is an error.
//   software V4.5.6
//   activated 2023-01-01
//   upgraded 2024-02-02
//   dns-flag 00000001             4 raw bytes as 8 hex digits
//   dns1 198.51.100.1
//   dns2 0.0.0.0
//   leading pattern [SEED]        the 200 opaque leading bytes: (SEED + i) mod 256 (SEED 0),
//   leading zero                   all zero (the default),
//   leading hex:0102...            or up to 200 raw bytes, the rest zero
//   nic NAME IP MASK GATEWAY [OPAQUE [FLAG]]
//                                 one interface, in order; tokens separated by blanks, `-` for
//                                 an empty text, `hex:...` for raw bytes; OPAQUE and FLAG are
//                                 8 hex digits each (default 00000000)
//   nic-count -1                  the interface count the reply claims (default: the number of
//                                 nic lines); entries sent are always the nic lines
//   modify-result TEXT            answer to a modify request; empty or absent: success
//   reboot-result TEXT            answer to a reboot request; empty or absent: success
//   result-nul yes|no             result texts end in a NUL (default yes; "no" with an empty
//                                 text gives a bare 36-byte reply)
//   error-code N                  error code in every reply header (default 0)
//   silent                        the device records what it gets and never answers
#pragma once

#include <istream>
#include <string>
#include <vector>

#include "device.h"

namespace devsim {

struct ConfigResult {
    std::vector<DeviceConfig> devices;
    std::string error;  // empty when the whole file was read; else "line N: what"
};

ConfigResult ParseConfig(std::istream& in);

// Devices for load runs: addresses 198.51.100.10 upward, serials SIM0001 upward, three
// interfaces each. At most kMaxGenerated (the /24 holds .10 to .254).
constexpr int kMaxGenerated = 245;
std::vector<DeviceConfig> GenerateDevices(int count);

}  // namespace devsim
