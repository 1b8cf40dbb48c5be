#pragma once

#include "DiscoveryRange.h"

#include <boost/system/error_code.hpp>

#include <cstdint>
#include <optional>
#include <string>

namespace quill::discovery {

// What one sweep achieved. A sweep never throws: a query that cannot be sent
// (no route, a refused send, a socket that cannot be opened) is counted and
// the remaining addresses are still tried.
struct SweepOutcome {
    int attempted = 0;
    int failed = 0;
    std::string firstError; // why the first failed query failed, with its target
    boost::system::error_code firstErrorCode;
    // The extra query to the limited broadcast, which counts in none of the
    // numbers above: whether one was tried, and why it failed if it did.
    bool limitedBroadcastTried = false;
    boost::system::error_code limitedBroadcastError;
    int sent() const { return attempted - failed; }
    bool limitedBroadcastSent() const { return limitedBroadcastTried && !limitedBroadcastError; }
};

// Sends the 6-byte query to `port` of every address from begin's last octet up
// to and including end's last octet, in the network of begin's first three
// octets, back to back from one socket bound to 0.0.0.0 port 0 with broadcast
// permission. A begin above the end sends nothing.
//
// With the address of the adapter the range is searched through, a range that
// reaches .255 also sends one query to the limited broadcast 255.255.255.255,
// from a socket bound to that address, so that it leaves through that adapter
// only: a camera on the same cable but in another subnet (a factory default
// address) hears it and may answer by broadcast. It is not counted in
// `attempted` or `failed`, which stay those of the range.
SweepOutcome SendQueries(const Ipv4Octets& begin, const Ipv4Octets& end, std::uint16_t port,
    const std::optional<Ipv4Octets>& adapterAddress = std::nullopt);

} // namespace quill::discovery
