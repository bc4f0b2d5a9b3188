#include "config_file.h"

#include <charconv>
#include <cstdio>
#include <set>
#include <sstream>

namespace devsim {

namespace {

constexpr std::string_view kHexPrefix = "hex:";

struct LineError {
    std::string what;
};

std::string TrimRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
        s.pop_back();
    }
    return s;
}

Bytes ValueBytes(const std::string& value, std::size_t width, const std::string& key) {
    Bytes out;
    if (value.starts_with(kHexPrefix)) {
        auto hex = ParseHex(std::string_view(value).substr(kHexPrefix.size()));
        if (!hex) {
            throw LineError{key + ": bad hex"};
        }
        out = std::move(*hex);
    } else {
        out = BytesOf(value);
    }
    if (out.size() > width) {
        throw LineError{key + ": " + std::to_string(out.size()) + " bytes, field holds " +
                        std::to_string(width)};
    }
    return out;
}

std::array<std::uint8_t, 4> FourBytes(const std::string& value, const std::string& key) {
    auto hex = ParseHex(value);
    if (!hex || hex->size() != 4) {
        throw LineError{key + ": want 8 hex digits"};
    }
    return {(*hex)[0], (*hex)[1], (*hex)[2], (*hex)[3]};
}

template <typename Int>
Int Number(const std::string& value, const std::string& key) {
    Int n{};
    const char* end = value.data() + value.size();
    auto [ptr, ec] = std::from_chars(value.data(), end, n);
    if (ec != std::errc() || ptr != end) {
        throw LineError{key + ": not a number"};
    }
    return n;
}

std::vector<std::string> Tokens(const std::string& value) {
    std::istringstream in(value);
    std::vector<std::string> out;
    for (std::string t; in >> t;) {
        out.push_back(t);
    }
    return out;
}

Bytes NicText(const std::string& token, const std::string& what) {
    return token == "-" ? Bytes{} : ValueBytes(token, wire::nic::kName.size, "nic " + what);
}

NicConfig ParseNic(const std::string& value) {
    const auto t = Tokens(value);
    if (t.size() < 4 || t.size() > 6) {
        throw LineError{"nic: want NAME IP MASK GATEWAY [OPAQUE [FLAG]]"};
    }
    NicConfig nic;
    nic.name = NicText(t[0], "name");
    nic.ip = NicText(t[1], "ip");
    nic.mask = NicText(t[2], "mask");
    nic.gateway = NicText(t[3], "gateway");
    if (t.size() > 4) {
        nic.opaque = FourBytes(t[4], "nic opaque");
    }
    if (t.size() > 5) {
        nic.flag = FourBytes(t[5], "nic flag");
    }
    return nic;
}

void ParseLeading(DeviceConfig& d, const std::string& value) {
    d.leading.fill(0);
    const auto t = Tokens(value);
    if (t.size() == 1 && t[0] == "zero") {
        return;
    }
    if (!t.empty() && t[0] == "pattern" && t.size() <= 2) {
        const unsigned seed = t.size() == 2 ? Number<unsigned>(t[1], "leading pattern") : 0;
        for (std::size_t i = 0; i < d.leading.size(); ++i) {
            d.leading[i] = static_cast<std::uint8_t>((seed + i) & 0xFF);
        }
        return;
    }
    if (t.size() == 1 && t[0].starts_with(kHexPrefix)) {
        const Bytes raw = ValueBytes(t[0], d.leading.size(), "leading");
        std::copy(raw.begin(), raw.end(), d.leading.begin());
        return;
    }
    throw LineError{"leading: want pattern [SEED], zero or hex:..."};
}

void ApplyKey(DeviceConfig& d, const std::string& key, const std::string& value) {
    namespace info = wire::info;
    if (key == "serial") {
        d.serial = ValueBytes(value, info::kSerial.size, key);
    } else if (key == "name") {
        d.name = ValueBytes(value, info::kName.size, key);
    } else if (key == "type") {
        d.type = ValueBytes(value, info::kType.size, key);
    } else if (key == "firmware") {
        d.firmware = ValueBytes(value, info::kFirmware.size, key);
    } else if (key == "software") {
        d.software = ValueBytes(value, info::kSoftware.size, key);
    } else if (key == "activated") {
        d.activationDate = ValueBytes(value, info::kActivationDate.size, key);
    } else if (key == "upgraded") {
        d.upgradeDate = ValueBytes(value, info::kUpgradeDate.size, key);
    } else if (key == "dns-flag") {
        d.dnsFlag = FourBytes(value, key);
    } else if (key == "dns1") {
        d.dns1 = ValueBytes(value, info::kDns1.size, key);
    } else if (key == "dns2") {
        d.dns2 = ValueBytes(value, info::kDns2.size, key);
    } else if (key == "leading") {
        ParseLeading(d, value);
    } else if (key == "nic") {
        d.nics.push_back(ParseNic(value));
    } else if (key == "nic-count") {
        d.nicCountField = Number<std::int32_t>(value, key);
    } else if (key == "modify-result") {
        // A reply datagram holds at most 65,507 bytes; keep well inside it.
        d.modifyResult = ValueBytes(value, 60000, key);
    } else if (key == "reboot-result") {
        d.rebootResult = ValueBytes(value, 60000, key);
    } else if (key == "result-nul") {
        if (value != "yes" && value != "no") {
            throw LineError{"result-nul: want yes or no"};
        }
        d.terminateResult = value == "yes";
    } else if (key == "error-code") {
        d.errorCode = Number<std::uint32_t>(value, key);
    } else if (key == "silent") {
        if (!value.empty()) {
            throw LineError{"silent takes no value"};
        }
        d.silent = true;
    } else {
        throw LineError{"unknown key '" + key + "'"};
    }
}

}  // namespace

ConfigResult ParseConfig(std::istream& in) {
    ConfigResult result;
    std::set<std::uint32_t> addresses;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        line = TrimRight(line);
        if (line.empty() || line[0] == '#') {
            continue;
        }
        const std::size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank);
        const std::string value = blank == std::string::npos ? "" : line.substr(blank + 1);
        try {
            if (key == "device") {
                const auto address = ParseAddress(value);
                if (!address) {
                    throw LineError{"device: want a dotted IPv4 address"};
                }
                if (!addresses.insert(*address).second) {
                    throw LineError{"device " + value + " appears twice"};
                }
                result.devices.emplace_back().address = *address;
            } else if (result.devices.empty()) {
                throw LineError{"'" + key + "' before the first device line"};
            } else {
                ApplyKey(result.devices.back(), key, value);
            }
        } catch (const LineError& e) {
            result.devices.clear();
            result.error = "line " + std::to_string(lineNumber) + ": " + e.what;
            return result;
        }
    }
    return result;
}

std::vector<DeviceConfig> GenerateDevices(int count) {
    constexpr std::uint32_t kFirstAddress = (198u << 24) | (51u << 16) | (100u << 8) | 10u;
    std::vector<DeviceConfig> devices;
    for (int i = 0; i < count && i < kMaxGenerated; ++i) {
        DeviceConfig d;
        d.address = kFirstAddress + static_cast<std::uint32_t>(i);
        for (std::size_t k = 0; k < d.leading.size(); ++k) {
            d.leading[k] = static_cast<std::uint8_t>((static_cast<std::size_t>(i) + k) & 0xFF);
        }
        char serial[16];
        std::snprintf(serial, sizeof serial, "SIM%04d", i + 1);
        d.serial = BytesOf(serial);
        d.name = BytesOf("Simulated device " + std::to_string(i + 1));
        d.type = BytesOf("SIM-100");
        d.firmware = BytesOf("V1.0.0");
        d.software = BytesOf("V2.0.0");
        d.activationDate = BytesOf("2024-01-01");
        d.upgradeDate = BytesOf("2024-06-01");
        d.dns1 = BytesOf("198.51.100.1");
        d.dns2 = BytesOf("0.0.0.0");
        const std::string own = AddressText(d.address);
        const std::string second =
            "10.0." + std::to_string(i / 250) + "." + std::to_string(i % 250 + 1);
        d.nics.push_back({BytesOf("eth0"),
                          BytesOf(own),
                          BytesOf("255.255.255.0"),
                          BytesOf("198.51.100.1"),
                          {},
                          {}});
        d.nics.push_back({BytesOf("eth1"),
                          BytesOf(second),
                          BytesOf("255.255.0.0"),
                          BytesOf("10.0.0.1"),
                          {},
                          {}});
        d.nics.push_back({BytesOf("wlan0"),
                          BytesOf("0.0.0.0"),
                          BytesOf("0.0.0.0"),
                          BytesOf("0.0.0.0"),
                          {},
                          {0, 0, 0, 1}});
        devices.push_back(std::move(d));
    }
    return devices;
}

}  // namespace devsim
