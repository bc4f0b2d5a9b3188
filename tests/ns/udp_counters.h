// The UDP counters of the network namespace the caller runs in (/proc/net/snmp is per
// namespace). Inside scripts/netns-run the PC side holds only the program under test, so the
// counters tell how many replies reached its socket and how many a full queue dropped.
#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace nstest {

struct UdpCounters {
    long inDatagrams = -1;   // datagrams taken from a socket's queue
    long rcvbufErrors = -1;  // datagrams dropped because a socket's receive queue was full

    // Every datagram that came for a socket: taken or dropped.
    long Arrived() const { return inDatagrams + rcvbufErrors; }
};

inline UdpCounters ReadUdpCounters() {
    std::ifstream in("/proc/net/snmp");
    std::string names, values;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("Udp: ", 0) != 0) {
            continue;
        }
        if (names.empty()) {
            names = line;
        } else {
            values = line;
            break;
        }
    }
    UdpCounters counters;
    std::istringstream n(names), v(values);
    for (std::string name, value; n >> name && v >> value;) {
        if (name == "InDatagrams") {
            counters.inDatagrams = std::stol(value);
        } else if (name == "RcvbufErrors") {
            counters.rcvbufErrors = std::stol(value);
        }
    }
    return counters;
}

}  // namespace nstest
