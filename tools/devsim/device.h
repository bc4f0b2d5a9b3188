// One simulated device: what it says about itself and how it answers.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "bytes.h"

namespace devsim {

struct NicConfig {
    Bytes name, ip, mask, gateway;         // texts, at most 20 bytes each (20: no terminator)
    std::array<std::uint8_t, 4> opaque{};  // sent as given
    std::array<std::uint8_t, 4> flag{};    // sent as given
};

struct DeviceConfig {
    std::uint32_t address = 0;  // host order; also where it answers from
    std::array<std::uint8_t, 200> leading{};
    Bytes name;  // UTF-8
    Bytes serial, type, activationDate, firmware, software, upgradeDate;
    std::array<std::uint8_t, 4> dnsFlag{};
    Bytes dns1, dns2;
    std::vector<NicConfig> nics;
    std::optional<std::int32_t> nicCountField;  // the count the reply claims; default: nics.size()

    Bytes modifyResult;           // empty: success
    Bytes rebootResult;           // empty: success
    bool terminateResult = true;  // result replies end in a NUL (an empty text then is one NUL)

    std::uint32_t errorCode = 0;  // in every reply's header
    bool silent = false;          // receives, records, never answers
};

std::string AddressText(std::uint32_t hostOrder);
std::optional<std::uint32_t> ParseAddress(const std::string& dotted);  // host order

}  // namespace devsim
