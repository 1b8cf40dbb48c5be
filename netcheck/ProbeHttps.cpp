#include "ProbeHttps.h"

#include "HostText.h"
#include "Logger.h"
#include "ProbeLog.h"

#include <Poco/Exception.h>
#include <Poco/Net/Context.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPSClientSession.h>
#include <Poco/Net/NetException.h>
#include <Poco/Net/SSLException.h>
#include <Poco/Net/SecureStreamSocket.h>
#include <Poco/Timespan.h>
#include <Poco/Timestamp.h>
#include <Poco/URI.h>
#include <boost/format.hpp>

#include <exception>
#include <memory>

namespace {

constexpr std::size_t kMinHostLength = 6;

void LogSessionFailure(const std::string& host)
{
    Logger::instance();
    Logger::write(mirelo::warning,
        (boost::format("https create session fail, ip: %s") % quill::netcheck::PrintableForLog(host)).str());
}

// A host name, a dotted IPv4 address or a bracketed IPv6 address: the forms a
// URI authority holds. Anything else (blanks, '/', '@', a second port) would
// be parsed into some other host or path than the one the user typed.
bool IsAuthorityHost(const std::string& host)
{
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        return quill::netcheck::IsIpv6Literal(std::string_view(host).substr(1, host.size() - 2));
    return quill::netcheck::IsHostName(host);
}

// Runs the handshake on a non-blocking socket, waiting for the server between
// the steps, so that a server that never answers surfaces as a time-out after
// exactly the given time.
void CompleteHandshake(Poco::Net::SecureStreamSocket& socket, const Poco::Timespan& timeout)
{
    using Poco::Net::SecureStreamSocket;
    const Poco::Timestamp start;
    socket.setBlocking(false);
    int result = socket.completeHandshake();
    while (
        result == SecureStreamSocket::ERR_SSL_WANT_READ || result == SecureStreamSocket::ERR_SSL_WANT_WRITE) {
        const Poco::Timespan left = timeout - Poco::Timespan(start.elapsed());
        const int mode = result == SecureStreamSocket::ERR_SSL_WANT_READ ? Poco::Net::Socket::SELECT_READ
                                                                         : Poco::Net::Socket::SELECT_WRITE;
        if (left <= Poco::Timespan(0) || !socket.poll(left, mode))
            throw Poco::TimeoutException("TLS handshake");
        result = socket.completeHandshake();
    }
    socket.setBlocking(true);
    if (result != 1)
        throw Poco::Net::SSLException("TLS handshake ended early");
}

// POCO 1.11 does not report a TLS handshake that runs out of time: the request
// then counts as sent, after several more waits, although the server never
// answered. This session connects without the handshake and runs it on its
// own, where running out of time surfaces as a time-out.
class HandshakeTimedSession : public Poco::Net::HTTPSClientSession {
public:
    using HTTPSClientSession::HTTPSClientSession;

protected:
    void connect(const Poco::Net::SocketAddress& address) override
    {
        Poco::Net::SecureStreamSocket secureSocket(socket());
        secureSocket.setLazyHandshake(true);
        HTTPSClientSession::connect(address);
        CompleteHandshake(secureSocket, getTimeout());
    }
};

} // namespace

bool ProbeHttps(std::string host, std::int32_t port, std::chrono::milliseconds timeout)
{
    if (host.size() < kMinHostLength || port < 0)
        return false;

    std::string path;
    std::unique_ptr<HandshakeTimedSession> session;
    try {
        if (!IsAuthorityHost(host))
            throw Poco::SyntaxException("host text cannot stand in a URI", host);
        const Poco::URI uri((boost::format("https://%s:%d") % host % port).str());
        path = uri.getPathAndQuery();

        // The probe asks only whether TLS gets through, so the certificate is
        // not checked (self-signed and expired ones pass).
        const Poco::Net::Context::Ptr context = new Poco::Net::Context(Poco::Net::Context::CLIENT_USE, "",
            Poco::Net::Context::VERIFY_NONE, 9, false, "ALL:!ADH:!LOW:!EXP:!MD5:@STRENGTH");
        // The host as the URI holds it: the typed text, without the brackets
        // of an IPv6 address.
        session = std::make_unique<HandshakeTimedSession>(
            uri.getHost(), static_cast<Poco::UInt16>(port), context);
    } catch (const std::exception&) {
        LogSessionFailure(host);
        return false;
    }

    session->setTimeout(Poco::Timespan(std::chrono::microseconds(timeout).count()));
    if (path.empty())
        path.push_back('/');
    Poco::Net::HTTPRequest request(Poco::Net::HTTPRequest::HTTP_GET, path, Poco::Net::HTTPMessage::HTTP_1_1);
    try {
        std::ostream& head = session->sendRequest(request);
        // The head waits in the session's buffer until flushed; flushing here
        // puts the write inside the timed phases. The stream swallows a failed
        // write, so its state tells: a head that did not leave is no request sent.
        if (!head.flush())
            return false;
    } catch (const Poco::Net::DNSException&) {
        // No address for the name (not found, or the lookup itself failed):
        // nothing reached any server.
        quill::netcheck::LogUnresolvable(port, host);
        return false;
    } catch (const Poco::TimeoutException&) {
        return false;
    } catch (const std::exception&) {
        // Only a time-out counts as failure: a refusal or a failed handshake
        // shows that packets get through to the server.
        return true;
    }
    return true;
}
