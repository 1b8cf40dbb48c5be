#pragma once

#include "DiscoveryProtocol.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace quill::discovery {

// The listener's UDP socket: bound to 0.0.0.0 on the discovery port for as long
// as it lives, without address reuse, so a second holder of the port fails to
// bind. receive() blocks until a datagram arrives or stop() is called from any
// thread; stopping wakes it at once instead of leaving it blocked forever.
class AnswerSocket {
public:
    // Receive buffer asked of the kernel, so that a burst of answers survives
    // a moment in which the user-interface thread is busy; the kernel caps it.
    static constexpr int kRequestedReceiveBuffer = 8 * 1024 * 1024;

    // Throws boost::system::system_error when the socket cannot be opened or bound.
    explicit AnswerSocket(std::uint16_t port);
    ~AnswerSocket();
    AnswerSocket(const AnswerSocket&) = delete;
    AnswerSocket& operator=(const AnswerSocket&) = delete;

    // The receive buffer size the kernel granted, in bytes.
    int grantedReceiveBuffer() const { return m_grantedReceiveBuffer; }
    std::uint16_t port() const;

    // The next datagram's first bytes (a longer one is cut to the buffer), or
    // nothing once stopped. Throws boost::system::system_error on a socket failure.
    std::optional<std::size_t> receive(std::array<char, kAnswerBufferSize>& buffer);

    void stop();

private:
    boost::asio::io_context m_io;
    boost::asio::ip::udp::socket m_socket;
    int m_wakeFd = -1;
    int m_grantedReceiveBuffer = 0;
};

} // namespace quill::discovery
