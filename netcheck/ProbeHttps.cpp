#include "ProbeHttps.h"

#include "CertificateReader.h"
#include "HostText.h"
#include "Logger.h"
#include "ProbeGuard.h"
#include "ProbeLog.h"
#include "SocketWait.h"
#include "TcpConnect.h"

#include <Poco/Net/Context.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/NetException.h>
#include <Poco/Net/SSLException.h>
#include <Poco/Net/SecureStreamSocket.h>
#include <Poco/URI.h>
#include <boost/format.hpp>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <optional>
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

    // What the handshake showed, recorded by OpenSSL's info callback: POCO
    // empties the error queue, so alerts and the trust verdict are read here.
    struct TlsTrace {
        std::string versionAndCipher; // once the handshake is done
        std::string alert; // an alert the server sent
        long verifyResult = X509_V_OK;
    };

    // The context's slot for the trace: the socket's own SSL object is out of
    // reach, its context is not.
    int TlsTraceIndex()
    {
        static const int index = SSL_CTX_get_ex_new_index(0, nullptr, nullptr, nullptr, nullptr);
        return index;
    }

    void RecordTls(const SSL* ssl, int where, int value)
    {
        auto* trace = static_cast<TlsTrace*>(SSL_CTX_get_ex_data(SSL_get_SSL_CTX(ssl), TlsTraceIndex()));
        if (!trace)
            return;
        if ((where & SSL_CB_READ_ALERT) != 0 && trace->alert.empty())
            trace->alert = std::string("alert: ") + SSL_alert_desc_string_long(value);
        if ((where & SSL_CB_HANDSHAKE_DONE) != 0) {
            trace->versionAndCipher = std::string(SSL_get_version(ssl)) + ", " + SSL_get_cipher_name(ssl);
            trace->verifyResult = SSL_get_verify_result(ssl);
        }
    }

    // Why the CA store does not vouch for the certificate, or empty. Dates are
    // told by the certificate's own facts.
    std::string Untrusted(long verifyResult)
    {
        switch (verifyResult) {
        case X509_V_OK:
        case X509_V_ERR_CERT_HAS_EXPIRED:
        case X509_V_ERR_CERT_NOT_YET_VALID:
            return {};
        case X509_V_ERR_DEPTH_ZERO_SELF_SIGNED_CERT:
        case X509_V_ERR_SELF_SIGNED_CERT_IN_CHAIN:
            return "self-signed";
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT:
        case X509_V_ERR_UNABLE_TO_GET_ISSUER_CERT_LOCALLY:
        case X509_V_ERR_UNABLE_TO_VERIFY_LEAF_SIGNATURE:
            return "unknown issuer";
        default:
            return X509_verify_cert_error_string(verifyResult);
        }
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

    ProbeOutcome CheckHttpsAt(const std::string& name, const LookupResult& server, std::int32_t port,
        std::chrono::milliseconds timeout, const std::stop_token& stop)
    {
        // Each phase gets the whole time-out, as a session's time-out does.
        TcpRace race
            = RaceConnect(server.addresses, static_cast<std::uint16_t>(port), Clock::now() + timeout, stop);
        ProbeOutcome outcome = race.outcome;
        if (outcome.reason == ProbeReason::NoAnswer)
            outcome.detail = std::to_string(timeout.count());
        if (!race.socket)
            return outcome;

        // The probe asks whether TLS gets through, so the certificate never
        // changes the verdict (self-signed and expired ones pass); the CA
        // store is loaded only to tell whether this PC would trust it.
        const Poco::Net::Context::Ptr context = new Poco::Net::Context(Poco::Net::Context::CLIENT_USE, "",
            Poco::Net::Context::VERIFY_NONE, 9, true, "ALL:!ADH:!LOW:!EXP:!MD5:@STRENGTH");
        TlsTrace trace;
        SSL_CTX_set_ex_data(context->sslContext(), TlsTraceIndex(), &trace);
        SSL_CTX_set_info_callback(context->sslContext(), RecordTls);

        // Made over the connection, so no default context is ever needed.
        std::optional<Poco::Net::SecureStreamSocket> secure;
        try {
            // The name goes out as SNI.
            secure.emplace(Poco::Net::SecureStreamSocket::attach(*race.socket, name, context));
            switch (CompleteHandshake(*secure, Clock::now() + timeout, stop)) {
            case WaitEnd::Stopped:
                return { false, ProbeReason::Cancelled, {}, {}, {}, {}, {}, {}, outcome.address };
            case WaitEnd::TimedOut:
                return { false, ProbeReason::NoTlsAnswer, {}, std::to_string(timeout.count()), {}, {}, {}, {},
                    outcome.address };
            case WaitEnd::Ready:
                break;
            }
        } catch (const Poco::Exception& error) {
            // The server answered, with an alert, other bytes, a reset or a
            // close: the path is open, but TLS did not complete.
            return { true, ProbeReason::TlsNotCompleted, {},
                trace.alert.empty() ? error.displayText() : trace.alert, {}, {}, {},
                ProbeWarning::TlsNotCompleted, outcome.address };
        }
        Poco::Net::SecureStreamSocket& socket = *secure;
        outcome = { true, ProbeReason::TlsCompleted, {}, trace.versionAndCipher, {}, {}, {}, {},
            outcome.address };
        if (socket.havePeerCertificate()) {
            CertificateFacts facts = ReadCertificate(socket.peerCertificate(), name);
            facts.untrustedBecause = Untrusted(trace.verifyResult);
            facts.trusted = facts.untrustedBecause.empty();
            if (facts.Warns())
                outcome.warning = ProbeWarning::Certificate;
            outcome.certificate = std::move(facts);
        }

        Poco::Net::HTTPRequest request(
            Poco::Net::HTTPRequest::HTTP_GET, "/", Poco::Net::HTTPMessage::HTTP_1_1);
        request.setHost(name, static_cast<Poco::UInt16>(port));
        std::ostringstream head;
        request.write(head);
        try {
            socket.setBlocking(true);
            socket.setSendTimeout(Poco::Timespan(std::chrono::microseconds(timeout).count()));
            const std::string bytes = head.str();
            if (socket.sendBytes(bytes.data(), static_cast<int>(bytes.size()))
                != static_cast<int>(bytes.size()))
                throw Poco::IOException("short write");
        } catch (const Poco::Exception& error) {
            // The server took the handshake and then went away: it answered,
            // but the exchange did not complete.
            outcome.reason = ProbeReason::RequestNotSent;
            outcome.detail = error.displayText();
            if (outcome.warning == ProbeWarning::None)
                outcome.warning = ProbeWarning::TlsNotCompleted;
        }
        return outcome;
    }

} // namespace

ProbeOutcome CheckHttps(const std::string& host, std::int32_t port, std::chrono::milliseconds timeout,
    std::chrono::milliseconds lookupBound, std::stop_token stop)
{
    const auto start = Clock::now();
    if (host.size() < kMinHostLength || port < 0)
        return { false, ProbeReason::NotAHost, Since(start), {}, {}, {}, host, {}, {}, port };
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
        return { false, ProbeReason::NotAHost, Since(start), {}, {}, {}, host, {}, {}, port };
    }
    const LookupResult server = LookUp(name, static_cast<std::uint16_t>(port), false, lookupBound, stop);
    ProbeOutcome outcome;
    if (server.addresses.empty()) {
        if (server.failure != ProbeReason::Cancelled)
            LogUnresolvable(port, host);
        outcome = { false, server.failure, {}, server.detail };
    } else {
        outcome = GuardedProbe([&] { return CheckHttpsAt(name, server, port, timeout, stop); });
    }
    outcome.elapsed = Since(start);
    outcome.host = name;
    outcome.port = port;
    return outcome;
}

} // namespace quill::netcheck

bool ProbeHttps(std::string host, std::int32_t port, std::chrono::milliseconds timeout)
{
    return quill::netcheck::CheckHttps(host, port, timeout).passed;
}
