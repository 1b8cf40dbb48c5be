#pragma once

#include "ProbeOutcome.h"
#include "SocketWait.h"

#include <Poco/Net/SocketAddress.h>
#include <Poco/Net/StreamSocket.h>

#include <cstdint>
#include <optional>
#include <stop_token>
#include <vector>

namespace quill::netcheck {

// The verdict of one TCP connection attempt by what connect() reported: 0
// connected, ECONNREFUSED a reset (passes, with a warning), ETIMEDOUT no
// answer; no route, host unreachable and this PC's own refusals each fail
// with a reason of their own, and anything else fails with its text.
ProbeOutcome TcpVerdict(int error);

struct TcpRace {
    ProbeOutcome outcome; // reason, verdict, warning and the address it came from
    std::optional<Poco::Net::StreamSocket> socket; // the connection, non-blocking, when one was made
};

// Connects to port on every address at once, within the deadline. The best
// outcome wins (connected, then refused, then the rest); when every address
// fails, the first address's reason is told. A stop request ends it at once.
TcpRace RaceConnect(const std::vector<Poco::Net::SocketAddress>& addresses, std::uint16_t port,
    Clock::time_point deadline, const std::stop_token& stop);

} // namespace quill::netcheck
