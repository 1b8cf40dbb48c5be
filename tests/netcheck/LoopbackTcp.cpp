#include "LoopbackTcp.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <utility>

namespace quill::netcheck::test {

namespace {

    [[noreturn]] void Fail(const std::string& what)
    {
        throw std::runtime_error(what + ": " + std::strerror(errno));
    }

    socklen_t AddressLength(const sockaddr_storage& address)
    {
        return address.ss_family == AF_INET6 ? sizeof(sockaddr_in6) : sizeof(sockaddr_in);
    }

    OwnedFd BoundSocket(int type, const std::string& address, std::uint16_t port)
    {
        const sockaddr_storage socketAddress = MakeSocketAddress(address, port);
        OwnedFd socket(::socket(socketAddress.ss_family, type | SOCK_CLOEXEC, 0));
        if (socket.fd() < 0)
            Fail("socket");
        if (::bind(
                socket.fd(), reinterpret_cast<const sockaddr*>(&socketAddress), AddressLength(socketAddress))
            != 0)
            Fail("bind " + address);
        return socket;
    }

    bool WaitReadable(int fd, std::chrono::milliseconds wait)
    {
        pollfd entry { fd, POLLIN, 0 };
        return ::poll(&entry, 1, static_cast<int>(wait.count())) > 0 && (entry.revents & POLLIN) != 0;
    }

} // namespace

sockaddr_storage MakeSocketAddress(const std::string& address, std::uint16_t port)
{
    sockaddr_storage storage {};
    if (address.find(':') != std::string::npos) {
        auto& v6 = reinterpret_cast<sockaddr_in6&>(storage);
        v6.sin6_family = AF_INET6;
        v6.sin6_port = htons(port);
        if (::inet_pton(AF_INET6, address.c_str(), &v6.sin6_addr) == 1)
            return storage;
    } else {
        auto& v4 = reinterpret_cast<sockaddr_in&>(storage);
        v4.sin_family = AF_INET;
        v4.sin_port = htons(port);
        if (::inet_pton(AF_INET, address.c_str(), &v4.sin_addr) == 1)
            return storage;
    }
    throw std::runtime_error("not an IP address: " + address);
}

std::uint16_t LocalPort(int fd)
{
    sockaddr_storage bound {};
    socklen_t length = sizeof bound;
    if (::getsockname(fd, reinterpret_cast<sockaddr*>(&bound), &length) != 0)
        Fail("getsockname");
    if (bound.ss_family == AF_INET6)
        return ntohs(reinterpret_cast<const sockaddr_in6&>(bound).sin6_port);
    return ntohs(reinterpret_cast<const sockaddr_in&>(bound).sin_port);
}

OwnedFd::~OwnedFd()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

OwnedFd::OwnedFd(OwnedFd&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1))
{
}

OwnedFd& OwnedFd::operator=(OwnedFd&& other) noexcept
{
    if (this != &other) {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

TcpListener::TcpListener(int backlog, const std::string& address, std::uint16_t port)
    : m_socket(BoundSocket(SOCK_STREAM, address, port))
{
    if (::listen(m_socket.fd(), backlog) != 0)
        Fail("listen");
    m_port = LocalPort(m_socket.fd());
}

bool TcpListener::HasPendingConnection(std::chrono::milliseconds wait) const
{
    return WaitReadable(m_socket.fd(), wait);
}

BlockedPort::BlockedPort(const std::string& address, std::uint16_t port)
    : m_listener(0, address, port)
    , m_queued(ConnectTo(address, m_listener.port()))
{
}

ClosedPort::ClosedPort(const std::string& address)
    : m_socket(BoundSocket(SOCK_STREAM, address, 0))
    , m_port(LocalPort(m_socket.fd()))
{
}

AcceptingServer::AcceptingServer(std::string greeting)
    : m_greeting(std::move(greeting))
    , m_thread([this] { Serve(); })
{
}

AcceptingServer::~AcceptingServer()
{
    m_stop = true;
    m_thread.join();
}

void AcceptingServer::Serve()
{
    constexpr std::chrono::milliseconds kStopCheck(50);
    OwnedFd peer;
    while (!m_stop) {
        if (peer.fd() >= 0 && WaitReadable(peer.fd(), kStopCheck)) {
            char discard[512];
            if (::recv(peer.fd(), discard, sizeof discard, 0) <= 0)
                peer = OwnedFd();
            continue;
        }
        if (!WaitReadable(m_listener.fd(), kStopCheck))
            continue;
        peer = OwnedFd(::accept4(m_listener.fd(), nullptr, nullptr, SOCK_CLOEXEC));
        if (peer.fd() < 0)
            continue;
        ++m_accepted;
        if (!m_greeting.empty())
            ::send(peer.fd(), m_greeting.data(), m_greeting.size(), MSG_NOSIGNAL);
    }
}

OwnedFd ConnectTo(const std::string& address, std::uint16_t port)
{
    const sockaddr_storage socketAddress = MakeSocketAddress(address, port);
    OwnedFd socket(::socket(socketAddress.ss_family, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (socket.fd() < 0)
        Fail("socket");
    if (::connect(
            socket.fd(), reinterpret_cast<const sockaddr*>(&socketAddress), AddressLength(socketAddress))
        != 0)
        Fail("connect");
    return socket;
}

OwnedFd BoundUdpSocket(const std::string& address)
{
    return BoundSocket(SOCK_DGRAM, address, 0);
}

} // namespace quill::netcheck::test
