// Dotted IPv4 text, both ways, without the C library's versions (which take the system's
// constants and locale).
#include <cctype>
#include <cstdio>

#include "platform/sockets.h"

namespace plat {

namespace {

constexpr std::size_t kDottedTextSize = 16;  // "255.255.255.255" and its NUL
constexpr std::uint32_t kNoAddress = 0xFFFFFFFFu;

// One part of an address in the classic notation: decimal, octal with a leading 0, or
// hexadecimal with 0x. False on anything else or on overflow beyond 32 bits.
bool ParsePart(const char*& text, std::uint32_t& value) {
    unsigned base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
        if (!std::isxdigit(static_cast<unsigned char>(*text))) {
            return false;
        }
    } else if (text[0] == '0') {
        base = 8;
    } else if (!std::isdigit(static_cast<unsigned char>(*text))) {
        return false;
    }
    std::uint64_t accumulated = 0;
    for (;; ++text) {
        const auto c = static_cast<unsigned char>(*text);
        unsigned digit;
        if (std::isdigit(c)) {
            digit = c - '0';
        } else if (base == 16 && std::isxdigit(c)) {
            digit = static_cast<unsigned>(std::tolower(c) - 'a' + 10);
        } else {
            break;
        }
        if (digit >= base) {
            return false;
        }
        accumulated = accumulated * base + digit;
        if (accumulated > 0xFFFFFFFFu) {
            return false;
        }
    }
    value = static_cast<std::uint32_t>(accumulated);
    return true;
}

}  // namespace

const char* inet_ntop(int af, const void* address, char* text, std::size_t size) {
    if (af != kAfInet || address == nullptr || text == nullptr) {
        return nullptr;
    }
    const auto* bytes = static_cast<const unsigned char*>(address);
    char dotted[kDottedTextSize];
    const int length =
        std::snprintf(dotted, sizeof dotted, "%u.%u.%u.%u", bytes[0], bytes[1], bytes[2], bytes[3]);
    if (length < 0 || static_cast<std::size_t>(length) >= size) {
        return nullptr;
    }
    for (int i = 0; i <= length; ++i) {
        text[i] = dotted[i];
    }
    return text;
}

std::uint32_t inet_addr(const char* text) {
    if (text == nullptr) {
        return kNoAddress;
    }
    std::uint32_t parts[4] = {};
    int count = 0;
    for (;;) {
        if (count == 4 || !ParsePart(text, parts[count])) {
            return kNoAddress;
        }
        ++count;
        if (*text != '.') {
            break;
        }
        ++text;
    }
    while (*text == ' ' || *text == '\t') {
        ++text;
    }
    if (*text != '\0') {
        return kNoAddress;
    }
    // The last part fills the bytes that the earlier ones leave: a.b.c.d, a.b.c (c is 16 bits),
    // a.b (b is 24 bits), a (32 bits).
    std::uint32_t host = 0;
    for (int i = 0; i < count - 1; ++i) {
        if (parts[i] > 0xFF) {
            return kNoAddress;
        }
        host |= parts[i] << (24 - 8 * i);
    }
    const int lastBits = 32 - 8 * (count - 1);
    if (lastBits < 32 && parts[count - 1] >= (std::uint32_t{1} << lastBits)) {
        return kNoAddress;
    }
    host |= parts[count - 1];
    return HostToNet32(host);
}

const char* inet_ntoa(InAddr address) {
    thread_local char text[kDottedTextSize];
    return inet_ntop(kAfInet, &address.s_addr, text, sizeof text);
}

}  // namespace plat
