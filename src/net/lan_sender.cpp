#include "net/lan_sender.h"

#include <optional>
#include <string>
#include <vector>

#include "platform/adapters.h"
#include "platform/codepage.h"
#include "platform/output.h"

namespace net {
namespace {

constexpr unsigned kFirstSweepHost = 1;
constexpr unsigned kLastSweepHost = 254;
constexpr std::uint32_t kLoopbackAddressHost = 0x7F000001u;  // 127.0.0.1
constexpr std::uint32_t kLimitedBroadcast = 0xFFFFFFFFu;
constexpr std::size_t kAddressTextBytes = 22;

// The adapter list for one pass, or nothing after the pass's failure line was logged.
std::optional<std::vector<plat::AdapterAddresses>> ReadAdapters(plat::SOCKET socket) {
    std::vector<plat::AdapterAddresses> adapters;
    const plat::ULONG error =
        plat::GetAdaptersAddresses(plat::kAfInet, plat::kGaaFlagIncludePrefix, adapters);
    if (error != 0) {
        plat::printf("GetAdaptersAddresses failed with error: %d\n", static_cast<int>(error));
        return std::nullopt;
    }
    if (socket == plat::INVALID_SOCKET) {
        plat::printf("Error creating socket: %d\n", plat::WSAGetLastError());
        return std::nullopt;
    }
    return adapters;
}

bool Skipped(const plat::AdapterAddresses& adapter, const plat::UnicastAddress& unicast) {
    if (unicast.family != plat::kAfInet) {
        return true;
    }
    if (adapter.IfType == plat::kIfTypeSoftwareLoopback) {
        return true;
    }
    return unicast.address == plat::HostToNet32(kLoopbackAddressHost);
}

template <typename Visit>
void ForEachAddress(const std::vector<plat::AdapterAddresses>& adapters, Visit visit) {
    for (const auto& adapter : adapters) {
        for (const auto& unicast : adapter.unicast) {
            if (!Skipped(adapter, unicast)) {
                visit(adapter, unicast.address);
            }
        }
    }
}

// One destination: log it, send, log the outcome. A failure never stops the walk.
void SendOne(plat::SOCKET socket, const char* data, int length, std::uint32_t address,
             const plat::AdapterAddresses& adapter) {
    plat::SockAddrIn destination{};
    destination.sin_family = plat::kAfInet;
    destination.sin_port = plat::HostToNet16(kDevicePort);
    destination.sin_addr.s_addr = address;

    char text[kAddressTextBytes] = {};
    plat::inet_ntop(plat::kAfInet, &destination.sin_addr, text, sizeof text);
    plat::printf("Broadcast address: %s\n", text);
    plat::OutputDebugStringA("Broadcast address: ");
    plat::OutputDebugStringA(text);
    plat::OutputDebugStringA("\n");

    if (plat::sendto(socket, data, length, 0, &destination, sizeof destination) ==
        plat::SOCKET_ERROR) {
        plat::printf("Sendto failed with error: %d\n", plat::WSAGetLastError());
    } else {
        plat::printf("Broadcast message sent successfully on adapter: %s\n",
                     plat::WideToUtf8(adapter.FriendlyName).c_str());
    }
}

}  // namespace

int SendToSubnetHosts(plat::SOCKET socket, const char* data, int length) {
    const auto adapters = ReadAdapters(socket);
    if (!adapters) {
        return -1;
    }
    ForEachAddress(*adapters, [&](const plat::AdapterAddresses& adapter, std::uint32_t address) {
        const std::uint32_t network = plat::NetToHost32(address) & 0xFFFFFF00u;
        for (unsigned host = kFirstSweepHost; host <= kLastSweepHost; ++host) {
            SendOne(socket, data, length, plat::HostToNet32(network | host), adapter);
        }
    });
    return 0;
}

int SendToAllAdapters(plat::SOCKET socket, const char* data, int length) {
    SendToSubnetHosts(socket, data, length);

    const auto adapters = ReadAdapters(socket);
    if (!adapters) {
        return -1;
    }
    ForEachAddress(*adapters, [&](const plat::AdapterAddresses& adapter, std::uint32_t address) {
        const std::uint32_t mask = GetAdapterMask(adapter.AdapterName.c_str());
        const std::uint32_t directed = (address & mask) | ~mask;
        SendOne(socket, data, length, directed, adapter);
        SendOne(socket, data, length, kLimitedBroadcast, adapter);
    });
    return 0;
}

plat::ULONG GetAdapterMask(const char* adapterName) {
    std::vector<plat::AdapterInfo> adapters;
    if (plat::GetAdaptersInfo(adapters) != 0) {
        return 0;
    }
    for (const auto& adapter : adapters) {
        if (adapter.AdapterName == adapterName) {
            return plat::inet_addr(adapter.firstIpMask.c_str());
        }
    }
    return 0;
}

}  // namespace net
