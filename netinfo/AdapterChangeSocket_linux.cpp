#include "AdapterChangeSocket.h"

#include <array>
#include <cerrno>

#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <sys/socket.h>
#include <unistd.h>

namespace quill::netinfo {

AdapterChangeSocket::AdapterChangeSocket()
{
    const int descriptor = ::socket(AF_NETLINK, SOCK_RAW | SOCK_CLOEXEC | SOCK_NONBLOCK, NETLINK_ROUTE);
    if (descriptor < 0)
        return;
    sockaddr_nl address {};
    address.nl_family = AF_NETLINK;
    address.nl_groups = RTMGRP_LINK | RTMGRP_IPV4_IFADDR | RTMGRP_IPV4_ROUTE;
    if (::bind(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(descriptor);
        return;
    }
    m_descriptor = descriptor;
}

AdapterChangeSocket::~AdapterChangeSocket()
{
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

void AdapterChangeSocket::Drain()
{
    std::array<char, 8192> buffer {};
    // ENOBUFS (messages lost to an overrun) is one more change like the others.
    for (int reads = 0; reads < 1024 && m_descriptor >= 0; ++reads) {
        const ssize_t received = ::recv(m_descriptor, buffer.data(), buffer.size(), MSG_DONTWAIT);
        if (received < 0 && errno != ENOBUFS && errno != EINTR)
            return;
    }
}

} // namespace quill::netinfo
