#include "ProbeHttps.h"

#include "HostText.h"
#include "Logger.h"

#include <Poco/Exception.h>
#include <Poco/Net/Context.h>
#include <Poco/Net/HTTPRequest.h>
#include <Poco/Net/HTTPSClientSession.h>
#include <Poco/Timespan.h>
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

} // namespace

bool ProbeHttps(std::string host, std::int32_t port, std::chrono::milliseconds timeout)
{
    if (host.size() < kMinHostLength || port < 0)
        return false;

    std::string path;
    std::unique_ptr<Poco::Net::HTTPSClientSession> session;
    try {
        if (!IsAuthorityHost(host))
            throw Poco::SyntaxException("host text cannot stand in a URI", host);
        const Poco::URI uri((boost::format("https://%s:%d") % host % port).str());
        path = uri.getPathAndQuery();

        // The probe asks only whether TLS gets through, so the certificate is
        // not checked (self-signed and expired ones pass).
        const Poco::Net::Context::Ptr context = new Poco::Net::Context(Poco::Net::Context::CLIENT_USE, "",
            Poco::Net::Context::VERIFY_NONE, 9, false, "ALL:!ADH:!LOW:!EXP:!MD5:@STRENGTH");
        session = std::make_unique<Poco::Net::HTTPSClientSession>(
            host, static_cast<Poco::UInt16>(port), context);
    } catch (const std::exception&) {
        LogSessionFailure(host);
        return false;
    }

    session->setTimeout(Poco::Timespan(std::chrono::microseconds(timeout).count()));
    if (path.empty())
        path = "/";
    Poco::Net::HTTPRequest request(Poco::Net::HTTPRequest::HTTP_GET, path, Poco::Net::HTTPMessage::HTTP_1_1);
    try {
        // The head waits in the session's buffer until flushed; flushing
        // here puts the write inside the timed phases.
        session->sendRequest(request).flush();
    } catch (const Poco::TimeoutException&) {
        return false;
    } catch (const std::exception&) {
        // Only a time-out counts as failure: a refusal or a failed handshake
        // shows that packets get through to the server.
        return true;
    }
    return true;
}
