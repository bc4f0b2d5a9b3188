#include "device.h"

#include <arpa/inet.h>

namespace devsim {

std::string AddressText(std::uint32_t hostOrder) {
    in_addr a{};
    a.s_addr = htonl(hostOrder);
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a, text, sizeof text);
    return text;
}

std::optional<std::uint32_t> ParseAddress(const std::string& dotted) {
    in_addr a{};
    if (inet_pton(AF_INET, dotted.c_str(), &a) != 1) {
        return std::nullopt;
    }
    return ntohl(a.s_addr);
}

}  // namespace devsim
