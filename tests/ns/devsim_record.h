// Reads the device simulator's record of datagrams (see tools/devsim/record_log.h):
//   recv LOCAL PEER:PORT LENGTH HEX   /   sent LOCAL PEER:PORT LENGTH HEX
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace devsim_record {

enum class Direction { Received, Sent };

struct Datagram {
    Direction direction;
    std::string local;  // the simulator's side: destination of a received, source of a sent one
    std::string peer;   // the other side's address
    std::uint16_t peerPort;
    std::vector<std::uint8_t> bytes;
};

// The record file netns-run hands to the command it runs; empty when there is none.
inline std::string PathFromEnvironment() {
    const char* path = std::getenv("QUORVEL_DEVSIM_RECORD");
    return path ? path : "";
}

inline bool ParseLine(const std::string& line, Datagram& out) {
    std::istringstream in(line);
    std::string direction, peer, hex;
    std::size_t length = 0;
    if (!(in >> direction >> out.local >> peer >> length >> hex)) {
        return false;
    }
    if (direction != "recv" && direction != "sent") {
        return false;
    }
    out.direction = direction == "recv" ? Direction::Received : Direction::Sent;
    const std::size_t colon = peer.rfind(':');
    if (colon == std::string::npos) {
        return false;
    }
    out.peer = peer.substr(0, colon);
    out.peerPort = static_cast<std::uint16_t>(std::stoul(peer.substr(colon + 1)));
    out.bytes.clear();
    if (hex != "-") {
        if (hex.size() != 2 * length) {
            return false;
        }
        for (std::size_t i = 0; i < hex.size(); i += 2) {
            out.bytes.push_back(
                static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
        }
    }
    return out.bytes.size() == length;
}

// The complete lines from byte `offset` on, which then moves past them; a last line still being
// written is left for the next read.
inline std::vector<Datagram> ReadFrom(const std::string& path, std::size_t& offset) {
    std::ifstream in(path, std::ios::binary);
    in.seekg(static_cast<std::streamoff>(offset));
    std::stringstream rest;
    rest << in.rdbuf();
    const std::string text = rest.str();
    std::vector<Datagram> out;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        Datagram d;
        if (ParseLine(text.substr(start, end - start), d)) {
            out.push_back(std::move(d));
        }
    }
    offset += start;
    return out;
}

// Every complete line so far.
inline std::vector<Datagram> Read(const std::string& path) {
    std::size_t offset = 0;
    return ReadFrom(path, offset);
}

// The command code in a datagram's header; 0 for one shorter than the header.
inline std::uint32_t CommandOf(const Datagram& d) {
    constexpr std::size_t kHeaderBytes = 36;
    constexpr std::size_t kCommandAt = 20;
    const std::vector<std::uint8_t>& b = d.bytes;
    if (b.size() < kHeaderBytes) {
        return 0;
    }
    return (std::uint32_t{b[kCommandAt]} << 24) | (std::uint32_t{b[kCommandAt + 1]} << 16) |
           (std::uint32_t{b[kCommandAt + 2]} << 8) | std::uint32_t{b[kCommandAt + 3]};
}

// Reads the record until `done` holds for it or the time-out passes; returns the last read.
inline std::vector<Datagram> WaitFor(const std::string& path,
                                     const std::function<bool(const std::vector<Datagram>&)>& done,
                                     std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto record = Read(path);
        if (done(record) || std::chrono::steady_clock::now() >= deadline) {
            return record;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

}  // namespace devsim_record
