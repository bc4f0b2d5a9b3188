#include "platform/detail/posix_errors.h"

#include <cerrno>

#include "platform/sockets.h"

namespace plat::detail {

int WsaErrorFromErrno(int errorNumber) {
    switch (errorNumber) {
        case EINTR:
            return WSAEINTR;
        case EACCES:
            return WSAEACCES;
        case EFAULT:
            return WSAEFAULT;
        case EINVAL:
            return WSAEINVAL;
        case EMFILE:
            return WSAEMFILE;
        case EAGAIN:
            return WSAEWOULDBLOCK;
        case EBADF:
        case ENOTSOCK:
            return WSAENOTSOCK;
        case EMSGSIZE:
            return WSAEMSGSIZE;
        case ENOPROTOOPT:
            return WSAENOPROTOOPT;
        case EAFNOSUPPORT:
            return WSAEAFNOSUPPORT;
        case EADDRINUSE:
            return WSAEADDRINUSE;
        case EADDRNOTAVAIL:
            return WSAEADDRNOTAVAIL;
        case ENETDOWN:
            return WSAENETDOWN;
        case ENETUNREACH:
            return WSAENETUNREACH;
        case ENOBUFS:
            return WSAENOBUFS;
        case EHOSTUNREACH:
            return WSAEHOSTUNREACH;
        default:
            return 10000 + errorNumber;
    }
}

}  // namespace plat::detail
