#include "platform/detail/socket_registry.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "platform/kernel.h"
#include "platform/output.h"

namespace plat::detail {

namespace {

// How long closing a socket, or the end of the program, waits for datagrams that were sent but
// are still queued for want of send-buffer room. The kernel frees a full buffer within about
// 3 s (the time address resolution of an absent host takes); a 724-byte request over two /24s
// at the buffer a stock kernel grants needs two such rounds.
constexpr auto kQueuedSendsBound = std::chrono::seconds(7);

}  // namespace

SocketRegistry& SocketRegistry::Instance() {
    // Never destroyed: the end of the program empties it before anything else goes.
    static auto* registry = new SocketRegistry();
    return *registry;
}

SocketRegistry::SocketRegistry() : process_(getpid()) {
    // Everything the queues' threads use exists before this handler is registered, so it is
    // still there when the handler runs.
    OutputDebugStringA("");
    std::atexit([] { Instance().FinishAll(); });
}

void SocketRegistry::Add(int fd) {
    std::lock_guard lock(mutex_);
    sockets_[fd] = std::make_shared<RealSocket>(fd);
}

std::shared_ptr<RealSocket> SocketRegistry::Find(int fd) {
    std::lock_guard lock(mutex_);
    const auto found = sockets_.find(fd);
    return found == sockets_.end() ? nullptr : found->second;
}

int SocketRegistry::Send(int fd, std::span<const char> bytes, const SockAddrIn& destination) {
    std::shared_ptr<RealSocket> socket;
    {
        std::lock_guard lock(mutex_);
        if (programEnding_) {
            // No thread may start now to hand a datagram over later: it goes now or fails.
            const int result = SendWithoutWaiting(fd, bytes, destination);
            return result == DatagramKernel::kNoRoom ? ENOBUFS : result;
        }
        std::shared_ptr<RealSocket>& entry = sockets_[fd];
        if (!entry) {
            entry = std::make_shared<RealSocket>(fd);
        }
        if (entry->closing) {
            return EBADF;  // a send racing the close must not start a queue of its own
        }
        socket = entry;
    }
    return socket->queue.Send(bytes, destination);
}

int SocketRegistry::Close(int fd) {
    std::shared_ptr<RealSocket> socket;
    {
        std::lock_guard lock(mutex_);
        const auto found = sockets_.find(fd);
        if (found != sockets_.end()) {
            socket = found->second;
            socket->closing = true;
        }
    }
    if (socket) {
        Finish(*socket, Clock::now() + kQueuedSendsBound, "the socket was closed");
        socket->group.CloseMembers();
    }
    // Under the lock: a socket that gets this descriptor number next finds no entry.
    std::lock_guard lock(mutex_);
    if (socket) {
        sockets_.erase(fd);
    }
    return close(fd) == 0 ? 0 : errno;
}

std::size_t SocketRegistry::Waiting(int fd) {
    std::lock_guard lock(mutex_);
    const auto found = sockets_.find(fd);
    return found == sockets_.end() ? 0 : found->second->queue.Waiting();
}

void SocketRegistry::Finish(RealSocket& socket, Clock::time_point deadline, const char* why) {
    const std::size_t left = socket.queue.Stop(deadline);
    if (left > 0) {
        char line[96];
        std::snprintf(line, sizeof line, "%zu queued datagrams not sent: %s\n", left, why);
        OutputDebugStringA(line);
    }
}

// The end of the program: one bound for all sockets together. Their kernel sockets stay open
// until the process has gone, so what was handed over still leaves.
void SocketRegistry::FinishAll() {
    if (getpid() != process_) {
        return;  // a forked child that exits: the queues and their threads are the parent's
    }
    std::map<int, std::shared_ptr<RealSocket>> all;
    {
        std::lock_guard lock(mutex_);
        programEnding_ = true;
        all.swap(sockets_);
    }
    const auto deadline = Clock::now() + kQueuedSendsBound;
    for (auto& [fd, socket] : all) {
        Finish(*socket, deadline, "the program ended");
    }
}

}  // namespace plat::detail
