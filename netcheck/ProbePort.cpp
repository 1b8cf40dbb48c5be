#include "ProbePort.h"

#include "Logger.h"
#include "OutcomeText.h"
#include "ProbeGuard.h"
#include "ProbeLog.h"
#include "ProfileSettings.h"
#include "SocketWait.h"
#include "TcpConnect.h"

#include <boost/format.hpp>

namespace quill::netcheck {

std::string SettingsServer(const std::string& settingsPath)
{
    return settings::ReadProfileString("RCS", "IP", "", settingsPath);
}

ProbeOutcome ConnectPort(const LookupResult& server, const std::string& host, std::int32_t port,
    std::chrono::milliseconds timeout, std::stop_token stop)
{
    const auto start = Clock::now();
    ProbeOutcome outcome;
    if (server.addresses.empty()) {
        if (server.failure != ProbeReason::Cancelled)
            LogUnresolvable(port, host);
        outcome = { false, host.empty() ? ProbeReason::NoHost : server.failure, {}, server.detail };
    } else {
        outcome = GuardedProbe([&] {
            return RaceConnect(server.addresses, static_cast<std::uint16_t>(port), start + timeout, stop)
                .outcome;
        });
        if (outcome.reason == ProbeReason::NoAnswer) {
            outcome.detail = std::to_string(timeout.count());
            Logger::instance();
            Logger::write(mirelo::critical, (boost::format("port:%d connection was time out") % port).str());
        } else if (!outcome.passed && outcome.reason != ProbeReason::Cancelled) {
            // Every other failure in the same form, so that the log tells a
            // blocked port from one this PC cannot reach at all.
            Logger::instance();
            Logger::write(mirelo::critical,
                (boost::format("port:%d connection failed: %s") % port % ReasonText(outcome, 0)).str());
        }
    }
    outcome.elapsed = Since(start);
    outcome.host = host;
    outcome.port = port;
    return outcome;
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
