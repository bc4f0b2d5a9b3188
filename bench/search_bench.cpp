// search_bench: the search round trip with N simulated devices that answer every copy of the
// search. A headless main dialog runs the program's own code with the real endpoint, sender and
// worker (only the GTK window is left out); the operator presses "搜索" and the bench times the
// press to the last line listed. Run it through bench/run-all (inside scripts/netns-run with
// --devices generate:N).
//
//   search_bench --devices N [--runs R] [--receive-buffer BYTES]
//
// --receive-buffer BYTES runs the dialog as an unprivileged program on a kernel whose
// net.core.rmem_max is BYTES (212992 on a stock kernel): the socket layer asks no kernel socket
// for more (QUORVEL_SOCKET_BUFFER_CAP, set before the dialog opens its endpoint). A build whose
// socket layer knows no such cap gets BYTES asked of its one socket after start-up instead,
// which is what such a kernel granted it.
//
// Prints one row per press and a last line "result devices=N searches=R lost_searches=K
// listed=... last_line_ms=... drops=... pace_ms=... vmhwm_kb=..." (searches that did not list
// every device, worst listed count, median time, most drops, peak resident memory of the
// process) for bench/run-all.
//
// Between presses the bench waits until every copy of the last search has been answered and
// taken from the socket, so the late copies of one search are not listed as the answers of
// the next.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "afx/testing/open_dialog.h"
#include "ns/private_network_guard.h"
#include "ns/udp_counters.h"
#include "platform/output.h"
#include "platform/sockets.h"
#include "ui/quorvel_dlg.h"
#include "ui/resource.h"
#include "win/headless/probe.h"
#include "win/headless/session.h"
#include "win/input.h"
#include "win/window_api.h"

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::milliseconds;

// The pace the design names for a receiver that takes one datagram per 5 ms wait.
constexpr int kWaitMs = 5;
constexpr int kCopiesPerDevice = 3;
// How long the socket's queue must stay empty before a search counts as over, where the
// counters of the namespace cannot tell.
constexpr Milliseconds kQuiet{400};

double MsSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

long PeakResidentKb() {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("VmHWM:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

class Bench {
  public:
    explicit Bench(int devices) : devices_(devices) {
        AfxWinInit("/usr/bin/quorvel");
        plat::CaptureOutput quiet;  // the sender's line per address stays out of the table
        dialog_ = std::make_unique<CQuorvelDlg>();
        opened_ = std::make_unique<afx::testing::OpenDialog>(*dialog_);
    }
    ~Bench() {
        opened_.reset();
        dialog_.reset();
    }

    void SetReceiveBuffer(int bytes) {
        plat::setsockopt(dialog_->m_sock, plat::kSolSocket, plat::kSoRcvBuf,
                         reinterpret_cast<const char*>(&bytes), sizeof bytes);
    }

    bool Ready() const {
        return opened_->Handle() != nullptr && dialog_->m_sock != plat::INVALID_SOCKET;
    }

    // Pumps until every copy of the last search has been answered and taken from the socket
    // (or, should a reply never come, until the queue has stayed empty for `quiet`), then lets
    // the UI thread list what it was handed; gives up after `limit`.
    bool Settle(Milliseconds quiet, Milliseconds limit) {
        const auto deadline = Clock::now() + limit;
        auto emptySince = Clock::now();
        while (Clock::now() < deadline) {
            session_.PumpUntil([] { return false; }, Milliseconds(5));
            if (!QueueEmpty()) {
                emptySince = Clock::now();
                continue;
            }
            const long arrived = nstest::ReadUdpCounters().Arrived() - searchStart_.Arrived();
            if (arrived >= kCopiesPerDevice * devices_ || Clock::now() - emptySince >= quiet) {
                session_.PumpUntil([] { return false; }, Milliseconds(20));
                return true;
            }
        }
        return false;
    }

    struct Run {
        int listed = 0;
        double lastLineMs = 0;
        long drops = 0;
    };

    Run PressSearch() {
        searchStart_ = nstest::ReadUdpCounters();
        const HWND search = win::GetDlgItem(opened_->Handle(), IDC_SEARCH);
        Run run;
        const auto start = Clock::now();
        auto lastLine = start;
        {
            plat::CaptureOutput quiet;
            win::input::Click(search);
        }
        // Up to twice the design's pace for all copies, and never less than 5 s.
        const auto deadline =
            start + std::max(Milliseconds(5000),
                             Milliseconds(2 * kCopiesPerDevice * devices_ * kWaitMs + 2000));
        auto emptySince = Clock::now();
        int lines = 0;
        while (Clock::now() < deadline && lines < devices_) {
            session_.PumpUntil(
                [&] {
                    const int now = static_cast<int>(
                        win::headless::ListLines(opened_->Handle(), IDC_LIST).size());
                    if (now != lines) {
                        lines = now;
                        lastLine = Clock::now();
                    }
                    return lines >= devices_;
                },
                Milliseconds(10));
            if (!QueueEmpty()) {
                emptySince = Clock::now();
            } else if (Clock::now() - emptySince >= kQuiet) {
                break;
            }
        }
        run.listed = lines;
        run.lastLineMs = MsSince(start, lastLine);
        run.drops = nstest::ReadUdpCounters().rcvbufErrors - searchStart_.rcvbufErrors;
        return run;
    }

  private:
    bool QueueEmpty() const {
        unsigned long bytes = 0;
        return plat::ioctlsocket(dialog_->m_sock, plat::kFionread, &bytes) == 0 && bytes == 0;
    }

    int devices_;
    // The namespace's counters when the last search went out (the start-up search first).
    nstest::UdpCounters searchStart_ = nstest::ReadUdpCounters();
    win::headless::Session session_{
        [](const std::string& m) { std::fprintf(stderr, "search_bench: %s\n", m.c_str()); }};
    std::unique_ptr<CQuorvelDlg> dialog_;
    std::unique_ptr<afx::testing::OpenDialog> opened_;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n == 0 ? 0 : n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
    int devices = 0;
    int runs = 3;
    int receiveBuffer = 0;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--devices") == 0 && i + 1 < argc) {
            devices = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc) {
            runs = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--receive-buffer") == 0 && i + 1 < argc) {
            receiveBuffer = std::max(1, std::atoi(argv[++i]));
        } else {
            devices = 0;
            break;
        }
    }
    if (devices < 1 || devices > 200) {
        std::fprintf(stderr,
                     "usage: search_bench --devices N (1 to 200) [--runs R] "
                     "[--receive-buffer BYTES]\n");
        return 2;
    }
    std::string why;
    if (!nstest::InsidePrivateTestNetwork(why)) {
        std::fprintf(stderr, "search_bench: refusing to run: %s (use bench/run-all)\n",
                     why.c_str());
        return 1;
    }

    if (receiveBuffer > 0) {
        setenv("QUORVEL_SOCKET_BUFFER_CAP", std::to_string(receiveBuffer).c_str(), 1);
    }
    Bench bench(devices);
    if (!bench.Ready()) {
        std::fprintf(stderr, "search_bench: the main dialog has no endpoint\n");
        return 1;
    }
    // The start-up search, and every late copy of it, out of the way first.
    bench.Settle(kQuiet, Milliseconds(30000));
    if (receiveBuffer > 0) {
        bench.SetReceiveBuffer(receiveBuffer);
    }

    const int paceMs = kCopiesPerDevice * devices * kWaitMs;
    std::printf("search round trip: headless main dialog, real endpoint, sender and worker\n");
    std::printf("%d devices answering every copy (%d replies); design pace 3N x 5 ms = %d ms\n",
                devices, kCopiesPerDevice * devices, paceMs);
    if (receiveBuffer > 0) {
        std::printf("each kernel socket capped at %d bytes of buffer\n", receiveBuffer);
    }
    std::printf("\n");
    std::printf("%4s  %7s  %15s  %11s\n", "run", "listed", "last line (ms)", "queue drops");
    std::fflush(stdout);

    std::vector<double> times;
    int lostSearches = 0;
    int worstListed = devices;
    long mostDrops = 0;
    for (int r = 1; r <= runs; ++r) {
        if (r > 1) {
            bench.Settle(kQuiet, Milliseconds(30000));
        }
        const Bench::Run run = bench.PressSearch();
        std::printf("%4d  %3d/%-3d  %15.1f  %11ld\n", r, run.listed, devices, run.lastLineMs,
                    run.drops);
        std::fflush(stdout);
        times.push_back(run.lastLineMs);
        lostSearches += run.listed < devices ? 1 : 0;
        worstListed = std::min(worstListed, run.listed);
        mostDrops = std::max(mostDrops, run.drops);
    }
    std::printf(
        "result devices=%d searches=%d lost_searches=%d listed=%d last_line_ms=%.1f drops=%ld "
        "pace_ms=%d vmhwm_kb=%ld\n",
        devices, runs, lostSearches, worstListed, Median(times), mostDrops, paceMs,
        PeakResidentKb());
    return 0;
}
