#include "protocol/search_request.h"

#include "protocol/packet_header.h"

namespace protocol {

std::vector<std::uint8_t> BuildSearchRequest(std::uint32_t sessionId) {
    std::vector<std::uint8_t> datagram(header::kSize, 0);
    PacketHeader::ForRequest(CMD_SEARCH, sessionId, datagram.size()).Write(datagram);
    return datagram;
}

}  // namespace protocol
