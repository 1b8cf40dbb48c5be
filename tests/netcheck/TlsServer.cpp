#include "TlsServer.h"

#include <openssl/evp.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>

#include <stdexcept>

namespace quill::netcheck::test {

namespace {

    constexpr long kOneDay = 24L * 60 * 60;

    struct KeyDeleter {
        void operator()(EVP_PKEY* key) const { EVP_PKEY_free(key); }
    };
    struct CertificateDeleter {
        void operator()(X509* certificate) const { X509_free(certificate); }
    };
    struct SslDeleter {
        void operator()(SSL* ssl) const { SSL_free(ssl); }
    };

    void Require(bool ok, const char* what)
    {
        if (!ok)
            throw std::runtime_error(std::string("TLS test server: ") + what);
    }

    std::unique_ptr<X509, CertificateDeleter> MakeSelfSigned(EVP_PKEY* key, CertificateAge age)
    {
        std::unique_ptr<X509, CertificateDeleter> certificate(X509_new());
        Require(certificate != nullptr, "X509_new");
        X509_set_version(certificate.get(), 2);
        ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), 1);
        // An expired certificate ended a day ago; a current one is valid for a day.
        const long start = age == CertificateAge::Expired ? -30 * kOneDay : -kOneDay;
        const long end = age == CertificateAge::Expired ? -kOneDay : kOneDay;
        X509_gmtime_adj(X509_getm_notBefore(certificate.get()), start);
        X509_gmtime_adj(X509_getm_notAfter(certificate.get()), end);
        X509_NAME* name = X509_get_subject_name(certificate.get());
        X509_NAME_add_entry_by_txt(
            name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
        X509_set_issuer_name(certificate.get(), name);
        Require(X509_set_pubkey(certificate.get(), key) == 1, "X509_set_pubkey");
        Require(X509_sign(certificate.get(), key, EVP_sha256()) > 0, "X509_sign");
        return certificate;
    }

    bool WaitReadable(int fd, int milliseconds)
    {
        pollfd entry { fd, POLLIN, 0 };
        return ::poll(&entry, 1, milliseconds) > 0;
    }

} // namespace

void TlsServer::ContextDeleter::operator()(ssl_ctx_st* context) const
{
    SSL_CTX_free(context);
}

TlsServer::TlsServer(CertificateAge age)
    : m_context(SSL_CTX_new(TLS_server_method()))
{
    Require(m_context != nullptr, "SSL_CTX_new");
    const std::unique_ptr<EVP_PKEY, KeyDeleter> key(EVP_EC_gen("P-256"));
    Require(key != nullptr, "EVP_EC_gen");
    const auto certificate = MakeSelfSigned(key.get(), age);
    Require(SSL_CTX_use_certificate(m_context.get(), certificate.get()) == 1, "use certificate");
    Require(SSL_CTX_use_PrivateKey(m_context.get(), key.get()) == 1, "use key");
    m_thread = std::thread([this] { Serve(); });
}

TlsServer::~TlsServer()
{
    m_stop = true;
    m_thread.join();
}

std::string TlsServer::lastRequestHead() const
{
    const std::lock_guard lock(m_mutex);
    return m_lastRequestHead;
}

void TlsServer::Serve()
{
    while (!m_stop) {
        if (!WaitReadable(m_listener.fd(), 50))
            continue;
        const OwnedFd peer(::accept4(m_listener.fd(), nullptr, nullptr, SOCK_CLOEXEC));
        if (peer.fd() >= 0)
            ServeOne(peer.fd());
    }
}

void TlsServer::ServeOne(int fd)
{
    // Bounds every read and write of this connection, so a client that stops
    // half-way cannot hold the thread.
    const timeval limit { 5, 0 };
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
    ::setsockopt(fd, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);

    const std::unique_ptr<SSL, SslDeleter> ssl(SSL_new(m_context.get()));
    if (!ssl || SSL_set_fd(ssl.get(), fd) != 1 || SSL_accept(ssl.get()) != 1)
        return;
    ++m_handshakes;

    std::string head;
    char buffer[1024];
    while (head.find("\r\n\r\n") == std::string::npos && head.size() < 16 * 1024) {
        const int received = SSL_read(ssl.get(), buffer, sizeof buffer);
        if (received <= 0)
            break;
        head.append(buffer, static_cast<std::size_t>(received));
    }
    {
        const std::lock_guard lock(m_mutex);
        m_lastRequestHead = head;
    }
    static constexpr char kAnswer[] = "HTTP/1.1 200 OK\r\nContent-Length: 0\r\nConnection: close\r\n\r\n";
    SSL_write(ssl.get(), kAnswer, sizeof kAnswer - 1);
    SSL_shutdown(ssl.get());
}

} // namespace quill::netcheck::test
