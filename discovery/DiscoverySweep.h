#pragma once

#include "DiscoveryRange.h"

#include <boost/system/error_code.hpp>

#include <cstdint>
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
    int sent() const { return attempted - failed; }
};

// Sends the 6-byte query to `port` of every address from begin's last octet up
// to and including end's last octet, in the network of begin's first three
// octets, back to back from one socket bound to 0.0.0.0 port 0 with broadcast
// permission. A begin above the end sends nothing.
SweepOutcome SendQueries(const Ipv4Octets& begin, const Ipv4Octets& end, std::uint16_t port);

} // namespace quill::discovery
