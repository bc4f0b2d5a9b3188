// The search request: the header alone.
#pragma once

#include <cstdint>
#include <vector>

namespace protocol {

// 36 bytes: command CMD_SEARCH, `sessionId`, payload length 0, error code 0.
std::vector<std::uint8_t> BuildSearchRequest(std::uint32_t sessionId);

}  // namespace protocol
