#pragma once

#include "HostLookup.h"
#include "ProbeOutcome.h"

#include <chrono>
#include <cstdint>
#include <stop_token>
#include <string>

inline constexpr std::uint16_t kNtpPort = 123;

// How long the probe waits for the server's answer, counted from sending the
// request; name resolution comes before it.
inline constexpr std::chrono::milliseconds kNtpProbeTimeout { 3000 };

// One SNTP exchange with the server: a 48-byte client request over UDP and a
// well-formed server reply within the time-out.
//
// True only when such a reply arrives (server mode, synchronised, stratum 1 to
// 15, our transmit stamp echoed, a non-zero transmit stamp). False otherwise,
// and at once, with no network activity, for a host text that is neither a host
// name, a dotted IPv4 address nor an IPv6 address. A host that cannot be turned
// into an address is false with a warning record; nothing else is logged, and
// nothing runs through a shell.
bool ProbeNtp(
    std::string host, std::uint16_t port = kNtpPort, std::chrono::milliseconds timeout = kNtpProbeTimeout);

namespace quill::netcheck {

// The exchange with its reason, time and, for a valid reply, the server's
// offset, stratum, round trip and reference id; a clock more than a second
// off passes with a warning. Each address of the name is tried in turn. When
// no valid reply comes, the last unusable answer names the failure (leap 3,
// kiss-o'-death, stratum 16), else it is no answer; a refusal (ICMP port
// unreachable) fails: nothing serves time there.
ProbeOutcome CheckNtp(const std::string& host, std::uint16_t port, std::chrono::milliseconds timeout,
    std::chrono::milliseconds lookupBound = kNameLookupBound, std::stop_token stop = {});

} // namespace quill::netcheck
