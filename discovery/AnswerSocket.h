#pragma once

#include "DiscoveryProtocol.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/system/system_error.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quill::discovery {

// The port cannot be bound: another socket holds it, or it is not ours to take.
// Every other failure of the socket is a plain boost::system::system_error.
class BindFailure : public boost::system::system_error {
public:
    using boost::system::system_error::system_error;
};

// The listener's UDP socket: bound to 0.0.0.0 on the discovery port for as long
// as it lives, without address reuse, so a second holder of the port fails to
// bind. receive() blocks until a datagram arrives or stop() is called from any
// thread; stopping wakes it at once instead of leaving it blocked forever.
class AnswerSocket {
public:
    // Receive buffer asked of the kernel, so that a burst of answers survives
    // a moment in which the user-interface thread is busy; the kernel caps it.
    static constexpr int kRequestedReceiveBuffer = 8 * 1024 * 1024;

    // Throws BindFailure when the port cannot be bound, and
    // boost::system::system_error when anything else fails.
    explicit AnswerSocket(std::uint16_t port);
    AnswerSocket(const AnswerSocket&) = delete;
    AnswerSocket& operator=(const AnswerSocket&) = delete;

    std::uint16_t port() const;

    // The next datagram's first bytes (a longer one is cut to the buffer), or
    // nothing once stopped; `sender` is where it came from. Throws
    // boost::system::system_error on a socket failure.
    std::optional<std::size_t> receive(
        std::array<char, kAnswerBufferSize>& buffer, boost::asio::ip::udp::endpoint& sender);

    void stop();

private:
    // Owns the wake-up eventfd, so that it is closed also when the
    // constructor throws after making it.
    struct WakeFd {
        WakeFd();
        ~WakeFd();
        WakeFd(const WakeFd&) = delete;
        WakeFd& operator=(const WakeFd&) = delete;
        int fd;
    };

    WakeFd m_wake;
    boost::asio::io_context m_io;
    boost::asio::ip::udp::socket m_socket;
};

} // namespace quill::discovery
