#include "SntpServer.h"

#include "SntpPacket.h"

#include <poll.h>
#include <sys/socket.h>

namespace quill::netcheck::test {

namespace sntp = quill::netcheck::sntp;

Datagram ValidReply(const Datagram& request)
{
    Datagram reply(sntp::kPacketSize, 0);
    reply[sntp::kModeOffset] = static_cast<std::uint8_t>((sntp::kVersion << 3) | sntp::kModeServer);
    reply[sntp::kStratumOffset] = 2;
    const sntp::Timestamp clientTransmit
        = request.size() >= sntp::kPacketSize ? sntp::ReadTimestamp(request, sntp::kTransmitOffset) : 0;
    sntp::WriteTimestamp(reply, sntp::kOriginateOffset, clientTransmit);
    // Any non-zero server time will do: the probe does not set the clock.
    sntp::WriteTimestamp(reply, sntp::kTransmitOffset, 0xE000'0000'8000'0000ULL);
    return reply;
}

SntpServer::SntpServer(Responder responder, const std::string& address, ReplySource source)
    : m_socket(BoundUdpSocket(address))
    , m_otherSocket(BoundUdpSocket(address))
    , m_source(source)
    , m_port(LocalPort(m_socket.fd()))
    , m_responder(std::move(responder))
    , m_thread([this] { Serve(); })
{
}

SntpServer::~SntpServer()
{
    m_stop = true;
    m_thread.join();
}

Datagram SntpServer::lastRequest() const
{
    const std::lock_guard lock(m_mutex);
    return m_lastRequest;
}

void SntpServer::Serve()
{
    const int replyFd = m_source == ReplySource::ServerPort ? m_socket.fd() : m_otherSocket.fd();
    while (!m_stop) {
        pollfd entry { m_socket.fd(), POLLIN, 0 };
        if (::poll(&entry, 1, 50) <= 0)
            continue;
        Datagram request(1024);
        sockaddr_storage client {};
        socklen_t clientLength = sizeof client;
        const ssize_t size = ::recvfrom(m_socket.fd(), request.data(), request.size(), 0,
            reinterpret_cast<sockaddr*>(&client), &clientLength);
        if (size < 0)
            continue;
        request.resize(static_cast<std::size_t>(size));
        {
            const std::lock_guard lock(m_mutex);
            m_lastRequest = request;
        }
        ++m_requests;
        for (const Datagram& reply : m_responder(request)) {
            ::sendto(replyFd, reply.data(), reply.size(), 0, reinterpret_cast<const sockaddr*>(&client),
                clientLength);
            ++m_replies;
        }
    }
}

} // namespace quill::netcheck::test
