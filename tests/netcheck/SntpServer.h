#pragma once

#include "LoopbackTcp.h"

#include <mutex>
#include <vector>

namespace quill::netcheck::test {

using Datagram = std::vector<std::uint8_t>;

// What the server sends back for one request, in order (nothing: silence).
using Responder = std::function<std::vector<Datagram>(const Datagram& request)>;

// A well-formed server reply (stratum 2) to request, for responders to spoil.
Datagram ValidReply(const Datagram& request);
inline std::vector<Datagram> AnswerValid(const Datagram& request)
{
    return { ValidReply(request) };
}
inline std::vector<Datagram> StaySilent(const Datagram&)
{
    return {};
}

// Where replies leave from: the port the request went to, or another one.
enum class ReplySource { ServerPort, OtherPort };

// A UDP time server on a free port of a loopback address, answering each
// request on a thread through the responder.
class SntpServer {
public:
    explicit SntpServer(Responder responder, const std::string& address = "127.0.0.1",
        ReplySource source = ReplySource::ServerPort);
    ~SntpServer();

    std::uint16_t port() const { return m_socket.address().port(); }
    int requests() const { return m_requests.load(); }
    int replies() const { return m_replies.load(); }
    Datagram lastRequest() const;

private:
    void Serve(Poco::Net::DatagramSocket& replyFrom);

    Poco::Net::DatagramSocket m_socket;
    Poco::Net::DatagramSocket m_otherSocket;
    Responder m_responder;
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_requests { 0 };
    std::atomic<int> m_replies { 0 };
    mutable std::mutex m_mutex;
    Datagram m_lastRequest;
    std::thread m_thread;
};

} // namespace quill::netcheck::test
