#include "local_addresses.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cstring>

#include "device.h"

namespace devsim {

bool LocalIpv4Addresses(std::vector<LocalAddress>& out) {
    out.clear();
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0) {
        return false;
    }
    for (const ifaddrs* a = list; a; a = a->ifa_next) {
        if (!a->ifa_addr || a->ifa_addr->sa_family != AF_INET) {
            continue;
        }
        sockaddr_in in{};
        std::memcpy(&in, a->ifa_addr, sizeof in);
        out.push_back({ntohl(in.sin_addr.s_addr), static_cast<int>(if_nametoindex(a->ifa_name))});
    }
    freeifaddrs(list);
    return true;
}

std::string ForeignAddress(const std::vector<LocalAddress>& addresses) {
    constexpr std::uint32_t kLoopbackNet = 127u << 24;
    constexpr std::uint32_t kTestNet2 = (198u << 24) | (51u << 16) | (100u << 8);
    constexpr std::uint32_t kTestNet3 = (203u << 24) | (0u << 16) | (113u << 8);
    for (const LocalAddress& a : addresses) {
        const bool allowed = (a.address & 0xFF000000u) == kLoopbackNet ||
                             (a.address & 0xFFFFFF00u) == kTestNet2 ||
                             (a.address & 0xFFFFFF00u) == kTestNet3;
        if (!allowed) {
            return AddressText(a.address);
        }
    }
    return {};
}

}  // namespace devsim
