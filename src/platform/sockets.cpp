// The socket calls go to whichever service is installed.
#include "platform/sockets.h"

#include <atomic>

namespace plat {

namespace {

std::atomic<SocketService*> installed{nullptr};

}  // namespace

void SetSocketService(SocketService* service) {
    installed.store(service);
}

SocketService& CurrentSocketService() {
    SocketService* service = installed.load();
    return service != nullptr ? *service : RealSocketService();
}

int WSAStartup(WORD version, WSAData* data) {
    return CurrentSocketService().WSAStartup(version, data);
}

int WSACleanup() {
    return CurrentSocketService().WSACleanup();
}

SOCKET WSASocketW(int af, int type, int protocol, void* protocolInfo, unsigned group, DWORD flags) {
    return CurrentSocketService().WSASocketW(af, type, protocol, protocolInfo, group, flags);
}

int setsockopt(SOCKET s, int level, int option, const char* value, int length) {
    return CurrentSocketService().setsockopt(s, level, option, value, length);
}

int bind(SOCKET s, const SockAddrIn* address, int length) {
    return CurrentSocketService().bind(s, address, length);
}

int getsockname(SOCKET s, SockAddrIn* address, int* length) {
    return CurrentSocketService().getsockname(s, address, length);
}

int sendto(SOCKET s, const char* data, int length, int flags, const SockAddrIn* destination,
           int destinationLength) {
    return CurrentSocketService().sendto(s, data, length, flags, destination, destinationLength);
}

int recvfrom(SOCKET s, char* buffer, int length, int flags, SockAddrIn* from, int* fromLength) {
    return CurrentSocketService().recvfrom(s, buffer, length, flags, from, fromLength);
}

int ioctlsocket(SOCKET s, long command, unsigned long* argument) {
    return CurrentSocketService().ioctlsocket(s, command, argument);
}

int closesocket(SOCKET s) {
    return CurrentSocketService().closesocket(s);
}

int WSAGetLastError() {
    return CurrentSocketService().WSAGetLastError();
}

}  // namespace plat
