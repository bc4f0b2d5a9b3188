// Building expected and received datagrams by hand, at literal offsets.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace protocol_test {

using Bytes = std::vector<std::uint8_t>;

// Writes the characters of `text` (no terminator) at `offset`, growing `bytes` if needed.
inline void Put(Bytes& bytes, std::size_t offset, std::string_view text) {
    if (bytes.size() < offset + text.size()) {
        bytes.resize(offset + text.size(), 0);
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(text[i]);
    }
}

// Writes four bytes at `offset`, most significant first.
inline void PutBe32(Bytes& bytes, std::size_t offset, std::uint32_t value) {
    const char raw[4] = {static_cast<char>(value >> 24), static_cast<char>(value >> 16),
                         static_cast<char>(value >> 8), static_cast<char>(value)};
    Put(bytes, offset, std::string_view(raw, 4));
}

// The first 36 bytes every request starts with: magic, zeros, then command, session id,
// payload length and error code 0, each big-endian.
inline Bytes ExpectedRequestHeader(std::size_t datagramSize, std::uint32_t command,
                                   std::uint32_t sessionId) {
    Bytes bytes(datagramSize, 0);
    Put(bytes, 0, "AABBCCDD_KAVRO");
    PutBe32(bytes, 20, command);
    PutBe32(bytes, 24, sessionId);
    PutBe32(bytes, 28, static_cast<std::uint32_t>(datagramSize - 36));
    return bytes;
}

// The offsets where two byte buffers differ, for readable failure messages.
inline std::vector<std::size_t> DifferingOffsets(const Bytes& actual, const Bytes& expected) {
    std::vector<std::size_t> offsets;
    for (std::size_t i = 0; i < actual.size() && i < expected.size(); ++i) {
        if (actual[i] != expected[i]) {
            offsets.push_back(i);
        }
    }
    return offsets;
}

}  // namespace protocol_test
