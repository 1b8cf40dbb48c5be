#pragma once

#include <Poco/Net/DatagramSocket.h>
#include <Poco/Net/ServerSocket.h>
#include <Poco/Net/StreamSocket.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

// End points on loopback (IPv4 or IPv6 address texts) for the probe tests: a
// port that takes connections, one that refuses them and one where they time out.
namespace quill::netcheck::test {

inline bool IsReadable(const Poco::Net::Socket& socket, std::chrono::milliseconds wait)
{
    return socket.poll(Poco::Timespan(wait.count() * 1000), Poco::Net::Socket::SELECT_READ);
}

// A TCP socket listening on address:port (port 0: a free one). The kernel
// completes connections into the backlog without anyone calling accept.
class TcpListener {
public:
    explicit TcpListener(int backlog = 16, const std::string& address = "127.0.0.1", std::uint16_t port = 0)
    {
        m_socket.bind(Poco::Net::SocketAddress(address, port));
        m_socket.listen(backlog);
    }
    std::uint16_t port() const { return m_socket.address().port(); }
    Poco::Net::ServerSocket& socket() { return m_socket; }
    // Whether a connection waits to be accepted, waiting at most `wait`.
    bool HasPendingConnection(std::chrono::milliseconds wait = std::chrono::milliseconds(200)) const
    {
        return IsReadable(m_socket, wait);
    }

private:
    Poco::Net::ServerSocket m_socket;
};

// Connection attempts time out here: Linux drops the SYNs for a listener with
// backlog 0 that already holds one connection nobody accepts.
class BlockedPort {
public:
    std::uint16_t port() const { return m_listener.port(); }

private:
    TcpListener m_listener { 0 };
    Poco::Net::StreamSocket m_queued { Poco::Net::SocketAddress("127.0.0.1", m_listener.port()) };
};

// Bound but not listening, so the kernel answers a SYN with a reset.
class ClosedPort {
public:
    ClosedPort() { m_socket.bind(Poco::Net::SocketAddress("127.0.0.1", 0)); }
    std::uint16_t port() const { return m_socket.address().port(); }

private:
    Poco::Net::ServerSocket m_socket;
};

// Accepts connections on 127.0.0.1 on a thread, writes `greeting` to each and
// keeps them open until it goes.
class AcceptingServer {
public:
    explicit AcceptingServer(std::string greeting);
    ~AcceptingServer();
    std::uint16_t port() const { return m_listener.port(); }
    int accepted() const { return m_accepted.load(); }

private:
    TcpListener m_listener;
    std::string m_greeting;
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_accepted { 0 };
    std::thread m_thread;
};

// Waits at most 5 s for a condition that a server thread makes true.
bool WaitFor(const std::function<bool()>& condition);

} // namespace quill::netcheck::test
