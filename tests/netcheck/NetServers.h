#pragma once

#include "SntpPacket.h"

#include <Poco/Net/DatagramSocket.h>
#include <Poco/Net/NetworkInterface.h>
#include <Poco/Net/ServerSocket.h>
#include <openssl/pem.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>

#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>

// Real servers on loopback for the network check tests: ports that accept,
// refuse or drop connections, a TLS server with a certificate made at start
// and a scripted SNTP server. Each serving thread stops with its object.
namespace quill::netcheck::test {

using std::chrono::milliseconds;
using Datagram = std::vector<std::uint8_t>;
namespace sntp = quill::netcheck::sntp;

inline bool IsReadable(const Poco::Net::Socket& socket, milliseconds wait = milliseconds(200))
{
    return socket.poll(Poco::Timespan(wait.count() * 1000), Poco::Net::Socket::SELECT_READ);
}

// Why a test that looks up a name which does not exist must not run here, or
// empty: only where loopback is the sole interface can no query leave.
inline std::string WhyNotPrivateNetwork()
{
    for (const auto& nic : Poco::Net::NetworkInterface::list())
        if (!nic.isLoopback())
            return nic.name() + " is up; run as root through scripts/test.sh";
    return {};
}

// Listens without accepting: the kernel completes connections into the backlog.
struct TcpListener {
    explicit TcpListener(int backlog = 16, const std::string& address = "127.0.0.1", std::uint16_t port = 0)
    {
        socket.bind(Poco::Net::SocketAddress(address, port));
        socket.listen(backlog);
    }
    std::uint16_t port() const { return socket.address().port(); }
    Poco::Net::ServerSocket socket;
};

// Attempts time out: Linux drops SYNs to a full backlog-0 queue nobody accepts.
struct BlockedPort {
    std::uint16_t port() const { return listener.port(); }
    TcpListener listener { 0 };
    Poco::Net::StreamSocket queued { Poco::Net::SocketAddress("127.0.0.1", port()) };
};

// A port nobody listens on, so the kernel answers a SYN with a reset.
inline std::uint16_t ClosedPort()
{
    return TcpListener().port();
}

using Key = std::unique_ptr<EVP_PKEY, decltype(&EVP_PKEY_free)>;
using Certificate = std::unique_ptr<X509, decltype(&X509_free)>;

inline std::unique_ptr<X509_NAME, decltype(&X509_NAME_free)> Name(const char* cn)
{
    X509_NAME* name = X509_NAME_new();
    X509_NAME_add_entry_by_txt(
        name, "CN", MBSTRING_ASC, reinterpret_cast<const unsigned char*>(cn), -1, -1, 0);
    return { name, X509_NAME_free };
}

inline void AddExtension(X509* cert, int nid, const std::string& value)
{
    X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, nullptr, nid, value.c_str());
    X509_add_ext(cert, extension, -1);
    X509_EXTENSION_free(extension);
}

// A certificate for the key, valid from/until so many days from now.
inline Certificate NewCertificate(EVP_PKEY* key, const char* subject, long fromDays, long untilDays)
{
    Certificate cert(X509_new(), X509_free);
    X509_set_version(cert.get(), 2);
    X509_gmtime_adj(X509_getm_notBefore(cert.get()), fromDays * 86400);
    X509_gmtime_adj(X509_getm_notAfter(cert.get()), untilDays * 86400);
    X509_set_subject_name(cert.get(), Name(subject).get());
    X509_set_pubkey(cert.get(), key);
    return cert;
}

// A CA made once per run; tests point SSL_CERT_FILE at TestCaPem() to make it
// one this PC trusts.
struct TestCa {
    Key key { EVP_EC_gen("P-256"), EVP_PKEY_free };
    Certificate cert = [this] {
        Certificate ca = NewCertificate(key.get(), "Quillscope test CA", -1, 30);
        X509_set_issuer_name(ca.get(), Name("Quillscope test CA").get());
        AddExtension(ca.get(), NID_basic_constraints, "critical,CA:TRUE");
        AddExtension(ca.get(), NID_key_usage, "critical,keyCertSign,cRLSign");
        X509_sign(ca.get(), key.get(), EVP_sha256());
        return ca;
    }();
    static const TestCa& Instance()
    {
        static const TestCa ca;
        return ca;
    }
};

inline std::string TestCaPem()
{
    const std::unique_ptr<BIO, decltype(&BIO_free)> pem(BIO_new(BIO_s_mem()), BIO_free);
    PEM_write_bio_X509(pem.get(), TestCa::Instance().cert.get());
    char* data = nullptr;
    const long size = BIO_get_mem_data(pem.get(), &data);
    return std::string(data, static_cast<std::size_t>(size));
}

// A certificate for the alternative name (e.g. "IP:127.0.0.1"), valid from/until
// so many days from now, self-signed, issued by the test CA, or (knownCa
// false) by a CA nobody knows.
inline std::shared_ptr<SSL_CTX> ServerContext(
    const std::string& altName, long fromDays, long untilDays, bool selfSigned = true, bool knownCa = true)
{
    const Key key(EVP_EC_gen("P-256"), EVP_PKEY_free), unknownCa(EVP_EC_gen("P-256"), EVP_PKEY_free);
    const Certificate cert = NewCertificate(key.get(), "Quillscope test server", fromDays, untilDays);
    X509_set_issuer_name(cert.get(),
        Name(selfSigned   ? "Quillscope test server"
                : knownCa ? "Quillscope test CA"
                          : "Unknown test CA")
            .get());
    AddExtension(cert.get(), NID_subject_alt_name, altName);
    EVP_PKEY* signer = selfSigned ? key.get() : knownCa ? TestCa::Instance().key.get() : unknownCa.get();
    std::shared_ptr<SSL_CTX> context(SSL_CTX_new(TLS_server_method()), SSL_CTX_free);
    if (X509_sign(cert.get(), signer, EVP_sha256()) <= 0
        || !SSL_CTX_use_certificate(context.get(), cert.get())
        || !SSL_CTX_use_PrivateKey(context.get(), key.get()))
        throw std::runtime_error("test certificate");
    return context;
}

// Serves one connection at a time on 127.0.0.1: a TLS handshake and the
// request head read; or, with `garbage`, that text instead of TLS.
struct TlsServer {
    std::uint16_t port() const { return listener.port(); }
    void Serve(Poco::Net::StreamSocket peer)
    {
        ++connections;
        peer.setReceiveTimeout(Poco::Timespan(5, 0)); // a client that stops cannot hold the thread
        const std::unique_ptr<SSL, decltype(&SSL_free)> ssl(SSL_new(context.get()), SSL_free);
        if (!garbage.empty() || !SSL_set_fd(ssl.get(), peer.impl()->sockfd()) || SSL_accept(ssl.get()) != 1)
            return void(peer.sendBytes(garbage.data(), static_cast<int>(garbage.size())));
        std::string head(1024, '\0');
        head.resize(static_cast<std::size_t>(std::max(0, SSL_read(ssl.get(), head.data(), 1024))));
        sawGetRoot = head.starts_with("GET / HTTP/1.1\r\n");
    }
    std::shared_ptr<SSL_CTX> context = ServerContext("DNS:localhost", -1, 1);
    std::string garbage {};
    std::string listenAddress = "127.0.0.1";
    std::uint16_t listenPort = 0; // 0: any free port
    TcpListener listener { 16, listenAddress, listenPort };
    std::atomic<int> connections { 0 };
    std::atomic<bool> sawGetRoot { false };
    std::jthread thread { [this](const std::stop_token& stop) {
        while (!stop.stop_requested())
            if (IsReadable(listener.socket, milliseconds(50)))
                Serve(listener.socket.acceptConnection());
    } };
};

// The time now on the NTP scale, so many seconds ahead.
inline sntp::Timestamp NtpStampNow(double aheadSeconds = 0)
{
    const double now
        = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count()
        + 2'208'988'800.0 + aheadSeconds;
    return (std::uint64_t(now) << 32) | std::uint64_t((now - std::floor(now)) * 4294967296.0);
}

// A valid reply to request, with the leniencies a client must accept: version
// 3, a leap second announced, stratum 15 and bytes after the header.
inline std::vector<Datagram> AnswerValid(const Datagram& request)
{
    Datagram reply(sntp::kPacketSize + 20, 0);
    reply[sntp::kModeOffset] = (1 << 6) | (3 << 3) | sntp::kModeServer;
    reply[sntp::kStratumOffset] = 15;
    sntp::WriteTimestamp(reply, sntp::kOriginateOffset, sntp::ReadTimestamp(request, sntp::kTransmitOffset));
    sntp::WriteTimestamp(reply, sntp::kReceiveOffset, NtpStampNow());
    sntp::WriteTimestamp(reply, sntp::kTransmitOffset, NtpStampNow());
    return { reply };
}

// A UDP time server on a free port of `address`, sending what the responder
// makes of each request (nothing: silence), from its port or from another one.
struct SntpServer {
    std::uint16_t port() const { return socket.address().port(); }
    void Serve()
    {
        Datagram request(1024);
        Poco::Net::SocketAddress client;
        request.resize(std::max<std::size_t>(socket.receiveFrom(request.data(), 1024, client), 48));
        firstByte = request[0];
        ++requests;
        for (const Datagram& reply : responder(request)) {
            ++replies; // before it leaves: the probe may return as soon as it arrives
            (otherPort ? other : socket).sendTo(reply.data(), static_cast<int>(reply.size()), client);
        }
    }
    std::function<std::vector<Datagram>(const Datagram& request)> responder = AnswerValid;
    std::string address = "127.0.0.1";
    bool otherPort = false;
    std::uint16_t listenPort = 0; // 0: any free port
    Poco::Net::DatagramSocket socket { Poco::Net::SocketAddress(address, listenPort) },
        other { Poco::Net::SocketAddress(address, 0) };
    std::atomic<int> requests { 0 }, replies { 0 }, firstByte { 0 };
    std::jthread thread { [this](const std::stop_token& stop) {
        while (!stop.stop_requested())
            if (IsReadable(socket, milliseconds(50)))
                Serve();
    } };
};

} // namespace quill::netcheck::test
