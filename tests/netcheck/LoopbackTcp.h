#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <string>
#include <thread>

#include <sys/socket.h>

// End points on loopback for the probe tests: a port that takes connections,
// one that refuses them and one where they time out. Addresses are IPv4 or
// IPv6 texts.
namespace quill::netcheck::test {

// An owned file descriptor (a socket or a pipe end), closed with the object.
class OwnedFd {
public:
    OwnedFd() = default;
    explicit OwnedFd(int fd)
        : m_fd(fd)
    {
    }
    ~OwnedFd();
    OwnedFd(OwnedFd&& other) noexcept;
    OwnedFd& operator=(OwnedFd&& other) noexcept;
    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;

    int fd() const { return m_fd; }

private:
    int m_fd = -1;
};

// A TCP socket bound to address:port (port 0: a free one) and listening with
// the given backlog. The kernel completes connections into the backlog
// without anyone calling accept.
class TcpListener {
public:
    explicit TcpListener(int backlog = 16, const std::string& address = "127.0.0.1", std::uint16_t port = 0);

    std::uint16_t port() const { return m_port; }
    int fd() const { return m_socket.fd(); }

    // Whether a connection waits to be accepted, waiting at most `wait`.
    bool HasPendingConnection(std::chrono::milliseconds wait = std::chrono::milliseconds(200)) const;

private:
    OwnedFd m_socket;
    std::uint16_t m_port = 0;
};

// A port on which connection attempts time out: a listening socket with a
// backlog of 0 that already holds one connection nobody accepts. Linux drops
// the SYNs of further attempts while the queue is full.
class BlockedPort {
public:
    explicit BlockedPort(const std::string& address = "127.0.0.1", std::uint16_t port = 0);

    std::uint16_t port() const { return m_listener.port(); }

private:
    TcpListener m_listener;
    OwnedFd m_queued;
};

// A port that refuses connections: bound, so no one else takes it, but not
// listening, so the kernel answers a SYN with a reset.
class ClosedPort {
public:
    explicit ClosedPort(const std::string& address = "127.0.0.1");

    std::uint16_t port() const { return m_port; }

private:
    OwnedFd m_socket;
    std::uint16_t m_port = 0;
};

// Accepts connections on a thread, writes `greeting` to each (nothing when
// empty), then waits for the peer to close. Stops within ~50 ms of
// destruction.
class AcceptingServer {
public:
    explicit AcceptingServer(std::string greeting);
    ~AcceptingServer();
    AcceptingServer(const AcceptingServer&) = delete;
    AcceptingServer& operator=(const AcceptingServer&) = delete;

    std::uint16_t port() const { return m_listener.port(); }
    int accepted() const { return m_accepted.load(); }

private:
    void Serve();

    TcpListener m_listener;
    std::string m_greeting;
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_accepted { 0 };
    std::thread m_thread;
};

// Connects to address:port, throwing on failure.
OwnedFd ConnectTo(const std::string& address, std::uint16_t port);

// A UDP socket bound to a free port of address.
OwnedFd BoundUdpSocket(const std::string& address);

// An IPv4 or IPv6 socket address from its text, throwing when it is neither.
sockaddr_storage MakeSocketAddress(const std::string& address, std::uint16_t port);

// The local port a socket is bound to.
std::uint16_t LocalPort(int fd);

} // namespace quill::netcheck::test
