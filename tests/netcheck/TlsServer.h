#pragma once

#include "LoopbackTcp.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

struct ssl_ctx_st;

namespace quill::netcheck::test {

enum class CertificateAge { Current, Expired };

// A TLS server on 127.0.0.1 with a self-signed certificate made when it
// starts. It serves one connection at a time on a thread: handshake, read the
// request head, answer "200 OK", close. Stops within ~50 ms of destruction.
class TlsServer {
public:
    explicit TlsServer(CertificateAge age = CertificateAge::Current);
    ~TlsServer();
    TlsServer(const TlsServer&) = delete;
    TlsServer& operator=(const TlsServer&) = delete;

    std::uint16_t port() const { return m_listener.port(); }
    int handshakes() const { return m_handshakes.load(); }
    // The head of the last request received, up to and including the blank
    // line.
    std::string lastRequestHead() const;

private:
    struct ContextDeleter {
        void operator()(ssl_ctx_st* context) const;
    };

    void Serve();
    void ServeOne(int fd);

    TcpListener m_listener;
    std::unique_ptr<ssl_ctx_st, ContextDeleter> m_context;
    std::atomic<bool> m_stop { false };
    std::atomic<int> m_handshakes { 0 };
    mutable std::mutex m_mutex;
    std::string m_lastRequestHead;
    std::thread m_thread;
};

} // namespace quill::netcheck::test
