// The simulated LAN: one UDP socket on port 5050 that receives for every simulated device and
// answers from each device's own address.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "recipients.h"
#include "record_log.h"

namespace devsim {

class Simulator {
  public:
    Simulator(std::vector<PlacedDevice> devices, RecordLog& record);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // Opens and binds the socket on 0.0.0.0:port. False, with a message on standard error,
    // when that fails.
    bool Bind(std::uint16_t port);
    // Receives and answers until the process is ended. Returns only on a receive error.
    int Run();

  private:
    void Handle(const Bytes& datagram, std::uint32_t destination, int ifindex, std::uint32_t peer,
                std::uint16_t peerPort);
    void SendFrom(const PlacedDevice& device, const Bytes& reply, std::uint32_t peer,
                  std::uint16_t peerPort);

    std::vector<PlacedDevice> devices_;
    RecordLog& record_;
    int socket_ = -1;
};

}  // namespace devsim
