#pragma once

#include "LoopbackTcp.h"

#include <openssl/ssl.h>

#include <memory>
#include <mutex>

namespace quill::netcheck::test {

enum class CertificateAge { Current, Expired };

// A TLS server on 127.0.0.1 with a self-signed certificate made when it
// starts. It serves one connection at a time on a thread: handshake, read the
// request head, answer "200 OK", close.
class TlsServer {
public:
    explicit TlsServer(CertificateAge age = CertificateAge::Current);
    ~TlsServer();

    std::uint16_t port() const { return m_listener.port(); }
    int handshakes() const { return m_handshakes.load(); }
    // The head of the last request, up to and including the blank line.
    std::string lastRequestHead() const;

private:
    void ServeOne(Poco::Net::StreamSocket& peer);

    TcpListener m_listener;
    std::unique_ptr<SSL_CTX, decltype(&SSL_CTX_free)> m_context { SSL_CTX_new(TLS_server_method()),
        SSL_CTX_free };
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_handshakes { 0 };
    mutable std::mutex m_mutex;
    std::string m_lastRequestHead;
    std::thread m_thread;
};

} // namespace quill::netcheck::test
