#include "ProbePort.h"

#include "Logger.h"
#include "ProbeLog.h"
#include "ProfileSettings.h"
#include "SocketWait.h"

#include <Poco/Net/NetException.h>
#include <Poco/Net/StreamSocket.h>
#include <boost/format.hpp>

#include <cerrno>
#include <cstring>

namespace quill::netcheck {

namespace {

    ProbeOutcome ConnectError(int error, Clock::time_point start)
    {
        // Only a time-out counts as a blocked port; a refusal, for one, means
        // the server itself answered.
        if (error == ECONNREFUSED)
            return { true, ProbeReason::Refused, Since(start), {} };
        if (error == ENETUNREACH || error == EHOSTUNREACH)
            return { true, ProbeReason::NetworkUnreachable, Since(start), {} };
        return { true, ProbeReason::OtherError, Since(start), std::strerror(error) };
    }

} // namespace

std::string SettingsServer(const std::string& settingsPath)
{
    return settings::ReadProfileString("RCS", "IP", "", settingsPath);
}

ProbeOutcome ConnectPort(const LookupResult& server, const std::string& host, std::int32_t port,
    std::chrono::milliseconds timeout, std::stop_token stop)
{
    const auto start = Clock::now();
    if (server.addresses.empty()) {
        if (server.failure != ProbeReason::Cancelled)
            LogUnresolvable(port, host);
        return { false, server.failure, Since(start), {} };
    }
    const Poco::Net::SocketAddress address(server.addresses.front().host(), static_cast<Poco::UInt16>(port));
    Poco::Net::StreamSocket socket;
    try {
        socket.connectNB(address);
    } catch (const Poco::Exception& error) {
        return ConnectError(error.code(), start);
    }
    switch (WaitForSocket(socket, Poco::Net::Socket::SELECT_WRITE, start + timeout, stop)) {
    case WaitEnd::Stopped:
        return { false, ProbeReason::Cancelled, Since(start), {} };
    case WaitEnd::TimedOut:
        Logger::instance();
        Logger::write(mirelo::critical, (boost::format("port:%d connection was time out") % port).str());
        return { false, ProbeReason::NoAnswer, Since(start), std::to_string(timeout.count()) };
    case WaitEnd::Ready:
        break;
    }
    if (const int error = socket.impl()->socketError(); error != 0)
        return ConnectError(error, start);
    return { true, ProbeReason::Connected, Since(start), address.toString() };
}

} // namespace quill::netcheck

bool ProbePort(
    std::string host, std::int32_t port, std::chrono::milliseconds timeout, const std::string& settingsPath)
{
    using namespace quill::netcheck;
    if (host.empty())
        host = SettingsServer(settingsPath);
    // An empty host (a missing settings entry) never reaches the resolver.
    const LookupResult server = host.empty()
        ? LookupResult {}
        : LookUp(host, static_cast<std::uint16_t>(port), false, kNameLookupBound);
    return ConnectPort(server, host, port, timeout).passed;
}
