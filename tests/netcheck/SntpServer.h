#pragma once

#include "LoopbackTcp.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quill::netcheck::test {

using Datagram = std::vector<std::uint8_t>;

// What the server sends back for one request, in order (nothing: silence).
using Responder = std::function<std::vector<Datagram>(const Datagram& request)>;

// A well-formed server reply (stratum 2) to request, for responders to start
// from and then spoil.
Datagram ValidReply(const Datagram& request);

// Where replies leave from: the port the request went to, or another one.
enum class ReplySource { ServerPort, OtherPort };

// A UDP time server on a loopback address (IPv4 or IPv6) with a free port,
// answering each request on a thread through the responder. Stops within
// ~50 ms of destruction.
class SntpServer {
public:
    explicit SntpServer(Responder responder, const std::string& address = "127.0.0.1",
        ReplySource source = ReplySource::ServerPort);
    ~SntpServer();
    SntpServer(const SntpServer&) = delete;
    SntpServer& operator=(const SntpServer&) = delete;

    std::uint16_t port() const { return m_port; }
    int requests() const { return m_requests.load(); }
    int replies() const { return m_replies.load(); }
    Datagram lastRequest() const;

private:
    void Serve();

    OwnedFd m_socket;
    OwnedFd m_otherSocket;
    ReplySource m_source;
    std::uint16_t m_port = 0;
    Responder m_responder;
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_requests { 0 };
    std::atomic<int> m_replies { 0 };
    mutable std::mutex m_mutex;
    Datagram m_lastRequest;
    std::thread m_thread;
};

} // namespace quill::netcheck::test
