#include "ProbeHttps.h"

#include "CertificateReader.h"
#include "HostText.h"
#include "Logger.h"
#include "ProbeLog.h"
#include "SocketWait.h"

#include <Poco/Net/Context.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/NetException.h>
#include <Poco/Net/SSLException.h>
#include <Poco/Net/SecureStreamSocket.h>
#include <Poco/URI.h>
#include <boost/format.hpp>
#include <openssl/ssl.h>

#include <cerrno>
#include <cstring>
#include <sstream>

namespace quill::netcheck {

namespace {

    constexpr std::size_t kMinHostLength = 6;

    // A host name, a dotted IPv4 address or a bracketed IPv6 address: the forms a
    // URI authority holds. Anything else (blanks, '/', '@', a second port) would
    // be parsed into some other host or path than the one the user typed.
    bool IsAuthorityHost(const std::string& host)
    {
        if (host.size() > 2 && host.front() == '[' && host.back() == ']')
            return IsIpv6Literal(std::string_view(host).substr(1, host.size() - 2));
        return IsHostName(host);
    }

    // The context's slot for the negotiated version and cipher: the socket's own
    // SSL object is out of reach, its context is not.
    int TlsInfoIndex()
    {
        static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
        return index;
    }

    void RecordTlsInfo(const SSL* ssl, int where, int)
    {
        if ((where & SSL_CB_HANDSHAKE_DONE) == 0)
            return;
        if (auto* info = static_cast<std::string*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), TlsInfoIndex())))
            *info = std::string(SSL_get_version(ssl)) + ", " + SSL_get_cipher_name(ssl);
    }

    // Runs the handshake on the non-blocking socket, waiting for the server
    // between the steps, so that a silent server surfaces as a time-out.
    WaitEnd CompleteHandshake(
        Poco::Net::SecureStreamSocket& socket, Clock::time_point deadline, const std::stop_token& stop)
    {
        using Poco::Net::SecureStreamSocket;
        int result = socket.completeHandshake();
        while (result == SecureStreamSocket::ERR_SSL_WANT_READ
            || result == SecureStreamSocket::ERR_SSL_WANT_WRITE) {
            const int mode = result == SecureStreamSocket::ERR_SSL_WANT_READ
                ? Poco::Net::Socket::SELECT_READ
                : Poco::Net::Socket::SELECT_WRITE;
            if (const WaitEnd end = WaitForSocket(socket, mode, deadline, stop); end != WaitEnd::Ready)
                return end;
            result = socket.completeHandshake();
        }
        if (result != 1)
            throw Poco::Net::SSLException("the server ended the handshake");
        return WaitEnd::Ready;
    }

    ProbeOutcome Ended(WaitEnd end, Clock::time_point start, std::chrono::milliseconds timeout)
    {
        if (end == WaitEnd::Stopped)
            return { false, ProbeReason::Cancelled, Since(start), {} };
        return { false, ProbeReason::NoAnswer, Since(start), std::to_string(timeout.count()) };
    }

} // namespace

ProbeOutcome CheckHttps(const std::string& host, std::int32_t port, std::chrono::milliseconds timeout,
    std::chrono::milliseconds lookupBound, std::stop_token stop)
{
    const auto start = Clock::now();
    if (host.size() < kMinHostLength || port < 0)
        return { false, ProbeReason::NotAHost, Since(start), {} };
    std::string name;
    try {
        if (!IsAuthorityHost(host) || port > 0xFFFF)
            throw Poco::SyntaxException("host text cannot stand in a URI", host);
        // The host as the URI holds it: the typed text, without the brackets of
        // an IPv6 address.
        name = Poco::URI((boost::format("https://%s:%d") % host % port).str()).getHost();
    } catch (const Poco::Exception&) {
        Logger::instance();
        Logger::write(mirelo::warning,
            (boost::format("https create session fail, ip: %s") % PrintableForLog(host)).str());
        return { false, ProbeReason::NotAHost, Since(start), {} };
    }
    const LookupResult server = LookUp(name, static_cast<std::uint16_t>(port), false, lookupBound, stop);
    if (server.addresses.empty()) {
        if (server.failure != ProbeReason::Cancelled)
            LogUnresolvable(port, host);
        return { false, server.failure, Since(start), {} };
    }

    // The probe asks only whether TLS gets through, so the certificate is not
    // checked (self-signed and expired ones pass); its facts are read below.
    const Poco::Net::Context::Ptr context = new Poco::Net::Context(Poco::Net::Context::CLIENT_USE, "",
        Poco::Net::Context::VERIFY_NONE, 9, false, "ALL:!ADH:!LOW:!EXP:!MD5:@STRENGTH");
    std::string tlsInfo;
    SSL_CTX_set_ex_data(context->sslContext(), TlsInfoIndex(), &tlsInfo);
    SSL_CTX_set_info_callback(context->sslContext(), RecordTlsInfo);

    Poco::Net::SecureStreamSocket socket(context);
    ProbeOutcome outcome { true, ProbeReason::TlsCompleted, {}, {} };
    try {
        socket.setPeerHostName(name); // sent as SNI
        socket.connectNB(server.addresses.front());
        // Each phase gets the whole time-out, as a session's time-out does.
        if (const WaitEnd end
            = WaitForSocket(socket, Poco::Net::Socket::SELECT_WRITE, Clock::now() + timeout, stop);
            end != WaitEnd::Ready)
            return Ended(end, start, timeout);
        if (const int error = socket.impl()->socketError(); error == ECONNREFUSED)
            throw Poco::Net::ConnectionRefusedException(name);
        else if (error != 0)
            throw Poco::Net::NetException(std::strerror(error), error);
        if (const WaitEnd end = CompleteHandshake(socket, Clock::now() + timeout, stop);
            end != WaitEnd::Ready)
            return Ended(end, start, timeout);
    } catch (const Poco::Net::ConnectionRefusedException&) {
        return { true, ProbeReason::Refused, Since(start), {} };
    } catch (const Poco::Exception& error) {
        // Only a time-out counts as failure: a failed handshake shows that
        // packets get through to the server.
        const bool unreachable = error.code() == ENETUNREACH || error.code() == EHOSTUNREACH;
        return { true, unreachable ? ProbeReason::NetworkUnreachable : ProbeReason::TlsFailed, Since(start),
            error.displayText() };
    }
    outcome.detail = tlsInfo;
    outcome.host = name;
    if (socket.havePeerCertificate())
        outcome.certificate = ReadCertificate(socket.peerCertificate(), name);

    Poco::Net::HTTPRequest request(Poco::Net::HTTPRequest::HTTP_GET, "/", Poco::Net::HTTPMessage::HTTP_1_1);
    request.setHost(name, static_cast<Poco::UInt16>(port));
    std::ostringstream head;
    request.write(head);
    try {
        socket.setBlocking(true);
        socket.setSendTimeout(Poco::Timespan(std::chrono::microseconds(timeout).count()));
        const std::string bytes = head.str();
        if (socket.sendBytes(bytes.data(), static_cast<int>(bytes.size())) != static_cast<int>(bytes.size()))
            throw Poco::IOException("short write");
    } catch (const Poco::Exception& error) {
        // A head that did not leave is no request sent.
        outcome
            = { false, ProbeReason::RequestNotSent, {}, error.displayText(), outcome.certificate, {}, name };
    }
    outcome.elapsed = Since(start);
    return outcome;
}

} // namespace quill::netcheck

bool ProbeHttps(std::string host, std::int32_t port, std::chrono::milliseconds timeout)
{
    return quill::netcheck::CheckHttps(host, port, timeout).passed;
}
