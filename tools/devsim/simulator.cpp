#include "simulator.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "replies.h"

namespace devsim {

namespace {

// Largest datagram IPv4 can carry; nothing bigger can arrive.
constexpr std::size_t kReceiveBufferBytes = 65536;
// Hundreds of devices answer three copies of a search within milliseconds, and a sweep brings
// one datagram per device: both must queue without loss.
constexpr int kSocketBufferBytes = 8 * 1024 * 1024;

void EnlargeBuffer(int socket, int forced, int plain) {
    const int bytes = kSocketBufferBytes;
    if (setsockopt(socket, SOL_SOCKET, forced, &bytes, sizeof bytes) != 0) {
        setsockopt(socket, SOL_SOCKET, plain, &bytes, sizeof bytes);
    }
}

}  // namespace

Simulator::Simulator(std::vector<PlacedDevice> devices, RecordLog& record)
    : devices_(std::move(devices)), record_(record) {}

Simulator::~Simulator() {
    if (socket_ >= 0) {
        close(socket_);
    }
}

bool Simulator::Bind(std::uint16_t port) {
    socket_ = socket(AF_INET, SOCK_DGRAM, 0);
    if (socket_ < 0) {
        std::fprintf(stderr, "devsim: socket: %s\n", std::strerror(errno));
        return false;
    }
    const int on = 1;
    if (setsockopt(socket_, IPPROTO_IP, IP_PKTINFO, &on, sizeof on) != 0) {
        std::fprintf(stderr, "devsim: IP_PKTINFO: %s\n", std::strerror(errno));
        return false;
    }
    EnlargeBuffer(socket_, SO_RCVBUFFORCE, SO_RCVBUF);
    EnlargeBuffer(socket_, SO_SNDBUFFORCE, SO_SNDBUF);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons(port);
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (bind(socket_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        std::fprintf(stderr, "devsim: bind 0.0.0.0:%u: %s\n", port, std::strerror(errno));
        return false;
    }
    return true;
}

int Simulator::Run() {
    Bytes buffer(kReceiveBufferBytes);
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))];
    for (;;) {
        sockaddr_in peer{};
        iovec io{buffer.data(), buffer.size()};
        msghdr message{};
        message.msg_name = &peer;
        message.msg_namelen = sizeof peer;
        message.msg_iov = &io;
        message.msg_iovlen = 1;
        message.msg_control = control;
        message.msg_controllen = sizeof control;
        const ssize_t length = recvmsg(socket_, &message, 0);
        if (length < 0) {
            if (errno == EINTR) {
                continue;
            }
            std::fprintf(stderr, "devsim: recvmsg: %s\n", std::strerror(errno));
            return 1;
        }
        std::uint32_t destination = 0;
        int ifindex = 0;
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == IPPROTO_IP && c->cmsg_type == IP_PKTINFO) {
                in_pktinfo info{};
                std::memcpy(&info, CMSG_DATA(c), sizeof info);
                destination = ntohl(info.ipi_addr.s_addr);
                ifindex = info.ipi_ifindex;
            }
        }
        const Bytes datagram(buffer.begin(), buffer.begin() + length);
        Handle(datagram, destination, ifindex, ntohl(peer.sin_addr.s_addr), ntohs(peer.sin_port));
    }
}

void Simulator::Handle(const Bytes& datagram, std::uint32_t destination, int ifindex,
                       std::uint32_t peer, std::uint16_t peerPort) {
    record_.Received(destination, peer, peerPort, datagram);
    for (const PlacedDevice* device : Recipients(devices_, destination, ifindex)) {
        if (auto reply = ReplyTo(device->config, datagram)) {
            SendFrom(*device, *reply, peer, peerPort);
        }
    }
}

void Simulator::SendFrom(const PlacedDevice& device, const Bytes& reply, std::uint32_t peer,
                         std::uint16_t peerPort) {
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons(peerPort);
    to.sin_addr.s_addr = htonl(peer);
    alignas(cmsghdr) unsigned char control[CMSG_SPACE(sizeof(in_pktinfo))] = {};
    iovec io{const_cast<std::uint8_t*>(reply.data()), reply.size()};
    msghdr message{};
    message.msg_name = &to;
    message.msg_namelen = sizeof to;
    message.msg_iov = &io;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&message);
    c->cmsg_level = IPPROTO_IP;
    c->cmsg_type = IP_PKTINFO;
    c->cmsg_len = CMSG_LEN(sizeof(in_pktinfo));
    in_pktinfo info{};
    info.ipi_spec_dst.s_addr = htonl(device.config.address);
    std::memcpy(CMSG_DATA(c), &info, sizeof info);
    if (sendmsg(socket_, &message, 0) < 0) {
        std::fprintf(stderr, "devsim: reply from %s to %s:%u: %s\n",
                     AddressText(device.config.address).c_str(), AddressText(peer).c_str(),
                     peerPort, std::strerror(errno));
        return;
    }
    record_.Sent(device.config.address, peer, peerPort, reply);
}

}  // namespace devsim
