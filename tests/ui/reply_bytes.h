// Datagrams as a device sends them, written from the wire tables (offsets as literals), so the
// tests do not share the layout with the code under test.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace ui_test {

using Bytes = std::vector<std::uint8_t>;

inline void PutBe32(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v >> 24);
    b[at + 1] = static_cast<std::uint8_t>(v >> 16);
    b[at + 2] = static_cast<std::uint8_t>(v >> 8);
    b[at + 3] = static_cast<std::uint8_t>(v);
}

inline void PutText(Bytes& b, std::size_t at, const std::string& text) {
    std::memcpy(b.data() + at, text.data(), text.size());
}

// 36-byte header: magic "AABBCCDD_KAVRO" + NUL, reserved zero, command, session, length, error.
inline Bytes Header(std::uint32_t command, std::uint32_t session, std::size_t total,
                    std::uint32_t error = 0) {
    Bytes b(total, 0);
    PutText(b, 0, "AABBCCDD_KAVRO");
    PutBe32(b, 20, command);
    PutBe32(b, 24, session);
    PutBe32(b, 28, static_cast<std::uint32_t>(total >= 36 ? total - 36 : 0));
    PutBe32(b, 32, error);
    return b;
}

struct Nic {
    std::string name, ip, mask, gateway;
    std::uint8_t opaque[4] = {0, 0, 0, 0};
    std::uint8_t flag[4] = {0, 0, 0, 0};
};

// A device-information reply: header, 584-byte block from byte 36, entries from byte 620.
struct DeviceReply {
    std::string name = "Lab-2";  // UTF-8
    std::string serial = "K7Q2X9";
    std::string type = "T200";
    std::string activation = "2023-03-15";
    std::string firmware = "1.2.0";
    std::string software = "3.1.4";
    std::string upgrade = "2024-01-20";
    std::string dns1 = "8.8.8.8";
    std::string dns2 = "8.8.4.4";
    std::vector<Nic> nics;
    std::int32_t countOverride = -2;  // -2: the number of nics

    Bytes Encode(std::uint32_t session, std::uint32_t error = 0) const {
        Bytes b = Header(0xF001, session, 36 + 584 + 88 * nics.size(), error);
        const std::size_t p = 36;
        PutText(b, p + 200, name);
        PutText(b, p + 392, serial);
        PutText(b, p + 424, type);
        PutText(b, p + 456, activation);
        PutText(b, p + 476, firmware);
        PutText(b, p + 496, software);
        PutText(b, p + 516, upgrade);
        PutText(b, p + 540, dns1);
        PutText(b, p + 560, dns2);
        const auto count =
            countOverride == -2 ? static_cast<std::int32_t>(nics.size()) : countOverride;
        PutBe32(b, p + 580, static_cast<std::uint32_t>(count));
        for (std::size_t k = 0; k < nics.size(); ++k) {
            const std::size_t e = p + 584 + 88 * k;
            PutText(b, e, nics[k].name);
            PutText(b, e + 20, nics[k].ip);
            PutText(b, e + 40, nics[k].mask);
            PutText(b, e + 60, nics[k].gateway);
            std::memcpy(b.data() + e + 80, nics[k].opaque, 4);
            std::memcpy(b.data() + e + 84, nics[k].flag, 4);
        }
        return b;
    }
};

// A modify-result (0xF002) or reboot-result (0xF004) reply with an 8-bit text and its NUL.
inline Bytes ResultReply(std::uint32_t command, std::uint32_t session, const std::string& text) {
    Bytes b = Header(command, session, 36 + (text.empty() ? 0 : text.size() + 1));
    PutText(b, 36, text);
    return b;
}

}  // namespace ui_test
