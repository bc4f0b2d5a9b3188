#include "record_log.h"

#include "device.h"

namespace devsim {

RecordLog::~RecordLog() {
    if (file_) {
        std::fclose(file_);
    }
}

bool RecordLog::Open(const std::string& path) {
    file_ = std::fopen(path.c_str(), "w");
    return file_ != nullptr;
}

void RecordLog::Received(std::uint32_t local, std::uint32_t peer, std::uint16_t peerPort,
                         const Bytes& datagram) {
    Line("recv", local, peer, peerPort, datagram);
}

void RecordLog::Sent(std::uint32_t local, std::uint32_t peer, std::uint16_t peerPort,
                     const Bytes& datagram) {
    Line("sent", local, peer, peerPort, datagram);
}

void RecordLog::Line(const char* direction, std::uint32_t local, std::uint32_t peer,
                     std::uint16_t peerPort, const Bytes& datagram) {
    if (!file_) {
        return;
    }
    const std::string hex = datagram.empty() ? "-" : ToHex(datagram.data(), datagram.size());
    // One write per line, so a reader never sees half a line that is not the last one.
    const std::string line = std::string(direction) + " " + AddressText(local) + " " +
                             AddressText(peer) + ":" + std::to_string(peerPort) + " " +
                             std::to_string(datagram.size()) + " " + hex + "\n";
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fflush(file_);
}

}  // namespace devsim
