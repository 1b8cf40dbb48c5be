#include "TlsServer.h"

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <stdexcept>

namespace quill::netcheck::test {

namespace {

    void Require(bool ok, const char* what)
    {
        if (!ok)
            throw std::runtime_error(std::string("TLS test server: ") + what);
    }

    // Valid for a day around now, or ended a day ago.
    void UseSelfSignedCertificate(SSL_CTX* context, CertificateAge age)
    {
        constexpr long kOneDay = 24L * 60 * 60;
        const std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)> key(EVP_EC_gen("P-256"), EVP_PKEY_free);
        const std::unique_ptr<X509, decltype(&X509_free)> certificate(X509_new(), X509_free);
        Require(key && certificate, "key or certificate");
        X509_set_version(certificate.get(), 2);
        ASN1_INTEGER_set(X509_get_serialNumber(certificate.get()), 1);
        const bool expired = age == CertificateAge::Expired;
        X509_gmtime_adj(X509_getm_notBefore(certificate.get()), expired ? -30 * kOneDay : -kOneDay);
        X509_gmtime_adj(X509_getm_notAfter(certificate.get()), expired ? -kOneDay : kOneDay);
        X509_NAME* name = X509_get_subject_name(certificate.get());
        X509_NAME_add_entry_by_txt(
            name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>("localhost"), -1, -1, 0);
        X509_set_issuer_name(certificate.get(), name);
        Require(X509_set_pubkey(certificate.get(), key.get()) == 1, "X509_set_pubkey");
        Require(X509_sign(certificate.get(), key.get(), EVP_sha256()) > 0, "X509_sign");
        Require(SSL_CTX_use_certificate(context, certificate.get()) == 1, "use certificate");
        Require(SSL_CTX_use_PrivateKey(context, key.get()) == 1, "use key");
    }

} // namespace

TlsServer::TlsServer(CertificateAge age)
{
    Require(m_context != nullptr, "SSL_CTX_new");
    UseSelfSignedCertificate(m_context.get(), age);
    m_thread = std::thread([this] {
        while (!m_stop) {
            if (!m_listener.HasPendingConnection(std::chrono::milliseconds(50)))
                continue;
            Poco::Net::StreamSocket peer = m_listener.socket().acceptConnection();
            ServeOne(peer);
        }
    });
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

void TlsServer::ServeOne(Poco::Net::StreamSocket& peer)
{
    // Bounds every read and write, so a client that stops half-way cannot hold the thread.
    peer.setReceiveTimeout(Poco::Timespan(5, 0));
    peer.setSendTimeout(Poco::Timespan(5, 0));
    const std::unique_ptr<SSL, decltype(&SSL_free)> ssl(SSL_new(m_context.get()), SSL_free);
    if (!ssl || SSL_set_fd(ssl.get(), peer.impl()->sockfd()) != 1 || SSL_accept(ssl.get()) != 1)
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
