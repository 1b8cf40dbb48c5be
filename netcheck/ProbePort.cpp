#include "ProbePort.h"

#include "Logger.h"
#include "ProbeLog.h"
#include "ProfileSettings.h"

#include <Poco/Exception.h>
#include <Poco/Net/SocketAddress.h>
#include <Poco/Net/StreamSocket.h>
#include <Poco/Timespan.h>
#include <boost/format.hpp>

#include <exception>
#include <optional>

namespace {

void Log(mirelo::severity_level level, const std::string& message)
{
    Logger::instance();
    Logger::write(level, message);
}

// The address to connect to, or nothing when the host cannot be turned into
// one. An empty host (a missing settings entry) never reaches the resolver.
std::optional<Poco::Net::SocketAddress> ResolveAddress(const std::string& host, std::int32_t port)
{
    if (host.empty())
        return std::nullopt;
    try {
        return Poco::Net::SocketAddress(host, static_cast<Poco::UInt16>(port));
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

bool ProbePort(std::string host, std::int32_t port, std::chrono::milliseconds timeout)
{
    if (host.empty())
        host = quill::settings::ReadProfileString("RCS", "IP", "", quill::settings::SettingsPath());

    const auto address = ResolveAddress(host, port);
    if (!address) {
        quill::netcheck::LogUnresolvable(port, host);
        return false;
    }

    const Poco::Timespan connectTimeout(std::chrono::microseconds(timeout).count());
    Poco::Net::StreamSocket socket;
    try {
        socket.connect(*address, connectTimeout);
    } catch (const Poco::TimeoutException&) {
        Log(mirelo::critical, (boost::format("port:%d connection was time out") % port).str());
        return false;
    } catch (const std::exception&) {
        // Only a time-out counts as a blocked port; a refusal, for one, means
        // the server itself answered.
        return true;
    }
    socket.close();
    return true;
}
