#include "SntpServer.h"

#include "SntpPacket.h"

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
    : m_socket(Poco::Net::SocketAddress(address, 0))
    , m_otherSocket(Poco::Net::SocketAddress(address, 0))
    , m_responder(std::move(responder))
    , m_thread([this, source] { Serve(source == ReplySource::ServerPort ? m_socket : m_otherSocket); })
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

void SntpServer::Serve(Poco::Net::DatagramSocket& replyFrom)
{
    while (!m_stop) {
        if (!IsReadable(m_socket, std::chrono::milliseconds(50)))
            continue;
        Datagram request(1024);
        Poco::Net::SocketAddress client;
        request.resize(static_cast<std::size_t>(
            m_socket.receiveFrom(request.data(), static_cast<int>(request.size()), client)));
        {
            const std::lock_guard lock(m_mutex);
            m_lastRequest = request;
        }
        ++m_requests;
        for (const Datagram& reply : m_responder(request)) {
            // Counted before it leaves: the probe may return as soon as it arrives.
            ++m_replies;
            replyFrom.sendTo(reply.data(), static_cast<int>(reply.size()), client);
        }
    }
}

} // namespace quill::netcheck::test
