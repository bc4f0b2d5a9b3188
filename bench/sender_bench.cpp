// sender_bench: the wall time of one whole SendToAllAdapters call of a 36-byte search on a veth
// where only one host of the /24 is alive, with the default send buffer, with the endpoint's
// enlarged one and with what a stock kernel grants the endpoint of an unprivileged program (no
// kernel socket gets more than 212,992 bytes asked, net.core.wmem_max there, and each gets twice
// that). Run it through bench/run-sender-bench (inside scripts/netns-run).
//
//   sender_bench [--runs N] [--pause-ms MS] [--size BYTES]
//
// --size sends a longer datagram (the search header, then zero bytes; 724 is the largest modify
// request) to see how the datagram's size moves the point where the buffer runs full.
//
// Every datagram to an absent host waits about 3 s for address resolution and holds
// send-buffer space meanwhile, so a small buffer fills during the sweep; the socket layer then
// queues the rest and hands it over as room comes back. Besides the call, the bench times the
// close of the socket, which returns once the last queued datagram has been handed to the
// kernel. Between two calls the bench pauses (default 4 s) until those resolutions have failed
// and their buffer space is free again.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "net/lan_sender.h"
#include "net/udp_endpoint.h"
#include "ns/private_network_guard.h"
#include "platform/kernel.h"
#include "platform/output.h"
#include "platform/sockets.h"

namespace {

constexpr plat::WORD kSocketsVersion = 0x0202;

// Magic, its NUL and a zero byte, reserved, command 1, session id 0x00C0FFEE, length 0, error 0.
constexpr unsigned char kSearch[36] = {
    'A', 'A', 'B', 'B', 'C', 'C', 'D', 'D',  '_',  'K',  'A', 'V', 'R', 'O', 0, 0, 0, 0,
    0,   0,   0,   0,   0,   1,   0,   0xC0, 0xFF, 0xEE, 0,   0,   0,   0,   0, 0, 0, 0};

// What net.core.wmem_max is on a stock kernel: the most an unprivileged program gets (doubled).
constexpr int kStockSendBuffer = 212992;

enum class Buffer { Default, Enlarged, Stock };
constexpr Buffer kBuffers[] = {Buffer::Default, Buffer::Enlarged, Buffer::Stock};

const char* Name(Buffer b) {
    switch (b) {
        case Buffer::Default:
            return "default";
        case Buffer::Enlarged:
            return "enlarged";
        case Buffer::Stock:
            return "stock";
    }
    return "?";
}

// Made as the endpoint makes it, but without asking for larger buffers.
plat::SOCKET DefaultBufferSocket() {
    plat::WSAData data{};
    plat::WSAStartup(kSocketsVersion, &data);
    plat::SOCKET s =
        plat::WSASocketW(plat::kAfInet, plat::kSockDgram, 0, nullptr, 0, plat::kWsaFlagOverlapped);
    const char on = 1;
    plat::setsockopt(s, plat::kSolSocket, plat::kSoBroadcast, &on, sizeof on);
    plat::SockAddrIn local{};
    local.sin_family = plat::kAfInet;
    if (plat::bind(s, &local, sizeof local) == plat::SOCKET_ERROR) {
        plat::closesocket(s);
        plat::WSACleanup();
        return plat::INVALID_SOCKET;
    }
    return s;
}

plat::SOCKET OpenSocket(Buffer b) {
    if (b == Buffer::Default) {
        return DefaultBufferSocket();
    }
    // As root the layer would get the endpoint's whole request from one kernel socket; a stock
    // kernel caps each one. A build whose socket layer knows no cap has its one socket asked for
    // the stock size after the set-up instead, which is what such a kernel granted it.
    if (b == Buffer::Stock) {
        setenv("QUORVEL_SOCKET_BUFFER_CAP", std::to_string(kStockSendBuffer).c_str(), 1);
    }
    plat::SOCKET s = plat::INVALID_SOCKET;
    const bool opened = net::SetUpUdpEndpoint(s);
    unsetenv("QUORVEL_SOCKET_BUFFER_CAP");
    if (!opened) {
        return plat::INVALID_SOCKET;
    }
    if (b == Buffer::Stock) {
        const int bytes = kStockSendBuffer;
        plat::setsockopt(s, plat::kSolSocket, plat::kSoSndBuf,
                         reinterpret_cast<const char*>(&bytes), sizeof bytes);
    }
    return s;
}

struct Sample {
    int run;
    Buffer buffer;
    double milliseconds;  // the SendToAllAdapters call
    double handedOverMs;  // from the call's start until the close returned
    std::size_t sends;
    std::size_t failedSends;  // failed at once, or after they were queued, or never sent
    std::size_t queued;       // left to the socket layer's queue when the call returned
};

// The datagrams the socket layer's lines "N queued datagrams not sent: ..." count.
std::size_t NotSent(const std::string& diagnostics) {
    std::size_t total = 0;
    for (std::size_t at = diagnostics.find(" queued datagrams not sent"); at != std::string::npos;
         at = diagnostics.find(" queued datagrams not sent", at + 1)) {
        std::size_t start = diagnostics.rfind('\n', at);
        start = start == std::string::npos ? 0 : start + 1;
        total += std::stoul(diagnostics.substr(start, at - start));
    }
    return total;
}

std::size_t Occurrences(const std::string& text, const char* what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) {
        ++n;
    }
    return n;
}

bool Measure(int run, Buffer buffer, const std::vector<char>& datagram, Sample& out) {
    plat::SOCKET s = plat::INVALID_SOCKET;
    {
        plat::CaptureOutput quiet;  // the endpoint's "Local port" line
        s = OpenSocket(buffer);
    }
    if (s == plat::INVALID_SOCKET) {
        std::fprintf(stderr, "sender_bench: cannot open the %s socket\n", Name(buffer));
        return false;
    }
    std::string log;
    std::string diagnostics;
    std::size_t queued = 0;
    const auto start = std::chrono::steady_clock::now();
    auto end = start;
    {
        // The sender's log lines go to memory, not to a terminal that would set the pace.
        plat::CaptureOutput capture;
        net::SendToAllAdapters(s, datagram.data(), static_cast<int>(datagram.size()));
        end = std::chrono::steady_clock::now();
        queued = plat::testing::QueuedDatagrams(s);
        plat::closesocket(s);
        log = capture.StandardOutput();
        diagnostics = capture.Debugger();
    }
    const auto handedOver = std::chrono::steady_clock::now();
    plat::WSACleanup();
    const auto ms = [start](auto until) {
        return std::chrono::duration<double, std::milli>(until - start).count();
    };
    out = {run,
           buffer,
           ms(end),
           ms(handedOver),
           Occurrences(log, "Broadcast address: "),
           Occurrences(log, "Sendto failed") + Occurrences(diagnostics, "Queued sendto") +
               NotSent(diagnostics),
           queued};
    return true;
}

std::string Sysctl(const char* path) {
    std::ifstream in(path);
    std::string value;
    in >> value;
    return value.empty() ? "?" : value;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    int runs = 3;
    int pauseMs = 4000;
    int size = static_cast<int>(sizeof kSearch);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--pause-ms") == 0 && i + 1 < argc) {
            pauseMs = std::max(0, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            size = std::clamp(std::atoi(argv[++i]), static_cast<int>(sizeof kSearch), 65507);
        } else {
            std::fprintf(stderr, "usage: sender_bench [--runs N] [--pause-ms MS] [--size BYTES]\n");
            return 2;
        }
    }
    std::string why;
    if (!nstest::InsidePrivateTestNetwork(why)) {
        std::fprintf(stderr, "sender_bench: refusing to run: %s (use bench/run-sender-bench)\n",
                     why.c_str());
        return 1;
    }

    std::vector<char> datagram(static_cast<std::size_t>(size), 0);
    std::memcpy(datagram.data(), kSearch, sizeof kSearch);
    const auto payload = static_cast<std::uint32_t>(size) - sizeof kSearch;
    datagram[28] = static_cast<char>(payload >> 24);
    datagram[29] = static_cast<char>(payload >> 16);
    datagram[30] = static_cast<char>(payload >> 8);
    datagram[31] = static_cast<char>(payload);

    std::printf("SendToAllAdapters, %d-byte datagram, one live host on the /24\n", size);
    std::printf(
        "default send buffer: net.core.wmem_default = %s bytes; enlarged: asks for %d; stock: "
        "asks for %d\n",
        Sysctl("/proc/sys/net/core/wmem_default").c_str(), net::kSocketBufferBytes,
        kStockSendBuffer);
    std::printf("handed over: until the close returned, the last queued datagram handed over\n\n");
    std::printf("%4s  %-9s  %10s  %17s  %6s  %7s  %6s\n", "run", "buffer", "call (ms)",
                "handed over (ms)", "sends", "failed", "queued");
    std::fflush(stdout);

    std::vector<Sample> samples;
    bool first = true;
    for (int run = 1; run <= runs; ++run) {
        for (const Buffer buffer : kBuffers) {
            if (!first) {
                plat::Sleep(static_cast<plat::DWORD>(pauseMs));
            }
            first = false;
            Sample s{};
            if (!Measure(run, buffer, datagram, s)) {
                return 1;
            }
            std::printf("%4d  %-9s  %10.1f  %17.1f  %6zu  %7zu  %6zu\n", s.run, Name(s.buffer),
                        s.milliseconds, s.handedOverMs, s.sends, s.failedSends, s.queued);
            std::fflush(stdout);
            samples.push_back(s);
        }
    }
    // One line per buffer for bench/run-all: median and worst of the call and of the hand-over.
    std::printf("\n");
    for (const Buffer buffer : kBuffers) {
        std::vector<double> call, handedOver;
        std::size_t failed = 0;
        std::size_t queued = 0;
        for (const Sample& s : samples) {
            if (s.buffer == buffer) {
                call.push_back(s.milliseconds);
                handedOver.push_back(s.handedOverMs);
                failed = std::max(failed, s.failedSends);
                queued = std::max(queued, s.queued);
            }
        }
        std::printf(
            "result buffer=%s size=%d runs=%zu sends=%zu call_median_ms=%.1f call_worst_ms=%.1f "
            "handed_over_median_ms=%.1f handed_over_worst_ms=%.1f failed=%zu queued=%zu\n",
            Name(buffer), size, call.size(), samples.front().sends, Median(call),
            *std::max_element(call.begin(), call.end()), Median(handedOver),
            *std::max_element(handedOver.begin(), handedOver.end()), failed, queued);
    }
    return 0;
}
