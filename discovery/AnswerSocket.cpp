#include "AnswerSocket.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>

namespace quill::discovery {

namespace asio = boost::asio;
using asio::ip::udp;

// An eventfd wakes the blocked receive: closing a socket from another thread
// would not, and would race with the receive.
AnswerSocket::WakeFd::WakeFd()
    : fd(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK))
{
    if (fd < 0)
        throw boost::system::system_error(errno, boost::system::system_category(), "eventfd");
}

AnswerSocket::WakeFd::~WakeFd()
{
    ::close(fd);
}

AnswerSocket::AnswerSocket(std::uint16_t port)
    : m_socket(m_io)
{
    m_socket.open(udp::v4());
    boost::system::error_code ignored;
    m_socket.set_option(asio::socket_base::receive_buffer_size(kRequestedReceiveBuffer), ignored);
    boost::system::error_code error;
    m_socket.bind(udp::endpoint(asio::ip::address_v4::any(), port), error);
    if (error)
        throw BindFailure(error, "bind");
    m_socket.non_blocking(true);
}

std::uint16_t AnswerSocket::port() const
{
    return m_socket.local_endpoint().port();
}

std::optional<std::size_t> AnswerSocket::receive(
    std::array<char, kAnswerBufferSize>& buffer, udp::endpoint& sender)
{
    for (;;) {
        pollfd fds[2] = { { m_socket.native_handle(), POLLIN, 0 }, { m_wake.fd, POLLIN, 0 } };
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            throw boost::system::system_error(errno, boost::system::system_category(), "poll");
        }
        if (fds[1].revents != 0)
            return std::nullopt;
        if (fds[0].revents == 0)
            continue;
        boost::system::error_code error;
        // A datagram longer than the buffer is cut to it; that is no failure.
        const std::size_t size = m_socket.receive_from(asio::buffer(buffer), sender, 0, error);
        if (error == asio::error::would_block || error == asio::error::try_again)
            continue;
        if (error)
            throw boost::system::system_error(error, "receive");
        return size;
    }
}

void AnswerSocket::stop()
{
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(m_wake.fd, &one, sizeof one);
}

} // namespace quill::discovery
