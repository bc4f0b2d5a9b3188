// devsim: a LAN of simulated devices for the namespace tests, the benchmarks and the demo.
//
//   devsim (--config FILE | --generate N) [--record FILE] [--port PORT] [--list-addresses]
//
// Receives on 0.0.0.0:PORT (5050) for every device and answers search, modify and reboot
// requests as the devices would, each from its own address. Prints "ready" on standard output
// once bound. --list-addresses prints the devices' addresses, one a line, and exits without
// opening a socket. Refuses to run where the namespace holds any IPv4 address outside
// 127.0.0.0/8, 198.51.100.0/24 and 203.0.113.0/24. The config format is in config_file.h.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "config_file.h"
#include "local_addresses.h"
#include "simulator.h"

namespace {

struct Options {
    std::string config;
    int generate = -1;
    std::string record;
    std::uint16_t port = devsim::wire::kDevicePort;
    bool listAddresses = false;
};

int Usage() {
    std::fprintf(stderr,
                 "usage: devsim (--config FILE | --generate N) [--record FILE] [--port PORT] "
                 "[--list-addresses]\n");
    return 2;
}

template <typename Int>
bool ToNumber(const char* text, Int& out) {
    const char* end = text + std::strlen(text);
    auto [ptr, ec] = std::from_chars(text, end, out);
    return ec == std::errc() && ptr == end;
}

bool ParseOptions(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--config" && hasValue) {
            o.config = argv[++i];
        } else if (arg == "--generate" && hasValue) {
            if (!ToNumber(argv[++i], o.generate) || o.generate < 0 ||
                o.generate > devsim::kMaxGenerated) {
                std::fprintf(stderr, "devsim: --generate takes 0 to %d\n", devsim::kMaxGenerated);
                return false;
            }
        } else if (arg == "--record" && hasValue) {
            o.record = argv[++i];
        } else if (arg == "--port" && hasValue) {
            if (!ToNumber(argv[++i], o.port)) {
                return false;
            }
        } else if (arg == "--list-addresses") {
            o.listAddresses = true;
        } else {
            return false;
        }
    }
    return o.config.empty() != (o.generate < 0);
}

bool LoadDevices(const Options& o, std::vector<devsim::DeviceConfig>& devices) {
    if (o.generate >= 0) {
        devices = devsim::GenerateDevices(o.generate);
        return true;
    }
    std::ifstream in(o.config);
    if (!in) {
        std::fprintf(stderr, "devsim: cannot read %s\n", o.config.c_str());
        return false;
    }
    auto parsed = devsim::ParseConfig(in);
    if (!parsed.error.empty()) {
        std::fprintf(stderr, "devsim: %s: %s\n", o.config.c_str(), parsed.error.c_str());
        return false;
    }
    devices = std::move(parsed.devices);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        return Usage();
    }
    std::vector<devsim::DeviceConfig> configs;
    if (!LoadDevices(options, configs)) {
        return 1;
    }
    if (options.listAddresses) {
        for (const auto& d : configs) {
            std::printf("%s\n", devsim::AddressText(d.address).c_str());
        }
        return 0;
    }

    std::vector<devsim::LocalAddress> local;
    if (!devsim::LocalIpv4Addresses(local)) {
        std::fprintf(stderr, "devsim: cannot list the local addresses; refusing to run\n");
        return 1;
    }
    if (const std::string foreign = devsim::ForeignAddress(local); !foreign.empty()) {
        std::fprintf(stderr,
                     "devsim: address %s is present: this is not a private test network; "
                     "refusing to run\n",
                     foreign.c_str());
        return 1;
    }

    std::vector<devsim::PlacedDevice> placed;
    for (auto& config : configs) {
        devsim::PlacedDevice p{std::move(config), 0};
        for (const auto& a : local) {
            if (a.address == p.config.address) {
                p.ifindex = a.ifindex;
            }
        }
        if (p.ifindex == 0) {
            std::fprintf(stderr, "devsim: warning: no interface holds %s; it cannot answer\n",
                         devsim::AddressText(p.config.address).c_str());
        }
        placed.push_back(std::move(p));
    }

    devsim::RecordLog record;
    if (!options.record.empty() && !record.Open(options.record)) {
        std::fprintf(stderr, "devsim: cannot write %s: %s\n", options.record.c_str(),
                     std::strerror(errno));
        return 1;
    }
    devsim::Simulator simulator(std::move(placed), record);
    if (!simulator.Bind(options.port)) {
        return 1;
    }
    std::printf("ready\n");
    std::fflush(stdout);
    return simulator.Run();
}
