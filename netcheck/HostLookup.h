#pragma once

#include "ProbeOutcome.h"

#include <Poco/Net/SocketAddress.h>

#include <chrono>
#include <stop_token>
#include <string>
#include <vector>

namespace quill::netcheck {

// How long a name lookup may take, apart from the probe's own time-out.
inline constexpr std::chrono::milliseconds kNameLookupBound { 2000 };

struct LookupResult {
    std::vector<Poco::Net::SocketAddress> addresses; // empty when the lookup failed
    // NameNotFound, NameLookupFailed, NameLookupTimedOut, OtherError or Cancelled
    ProbeReason failure = ProbeReason::NameNotFound;
    std::string detail {}; // the resolver's text, for OtherError
};

// The addresses of host (a name or a numeric address) for port, TCP or UDP,
// IPv4 ones first, each family in the resolver's order. "Name not found" only
// when the DNS says the name does not exist; a DNS server that does not
// answer or fails is a failed lookup.
// The lookup runs on a thread of its own; past the bound, or once stop is
// requested, it is abandoned there and its memory is freed when it ends.
LookupResult LookUp(const std::string& host, std::uint16_t port, bool udp, std::chrono::milliseconds bound,
    std::stop_token stop = {});

} // namespace quill::netcheck
