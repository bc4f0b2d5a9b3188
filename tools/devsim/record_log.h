// The record of every datagram the simulator receives and sends, one line each, flushed:
//   recv LOCAL PEER:PORT LENGTH HEX
//   sent LOCAL PEER:PORT LENGTH HEX
// LOCAL is the address the datagram was sent to (recv) or from (sent) on the simulator's side,
// PEER:PORT the other side; HEX is the datagram's bytes, or "-" when it is empty.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "bytes.h"

namespace devsim {

class RecordLog {
  public:
    RecordLog() = default;
    ~RecordLog();
    RecordLog(const RecordLog&) = delete;
    RecordLog& operator=(const RecordLog&) = delete;

    // Truncates the file. False (with errno set) when it cannot be opened.
    bool Open(const std::string& path);
    void Received(std::uint32_t local, std::uint32_t peer, std::uint16_t peerPort,
                  const Bytes& datagram);
    void Sent(std::uint32_t local, std::uint32_t peer, std::uint16_t peerPort,
              const Bytes& datagram);

  private:
    void Line(const char* direction, std::uint32_t local, std::uint32_t peer,
              std::uint16_t peerPort, const Bytes& datagram);
    std::FILE* file_ = nullptr;
};

}  // namespace devsim
