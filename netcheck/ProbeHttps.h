#pragma once

#include "HostLookup.h"
#include "ProbeOutcome.h"

#include <chrono>
#include <cstdint>
#include <stop_token>
#include <string>

// How long each phase of the HTTPS probe (connecting, handshaking, sending)
// may take before the server counts as unreachable.
inline constexpr std::chrono::milliseconds kHttpsProbeTimeout { 4000 };

// Opens a TLS session to host:port without checking the server's certificate
// and sends one GET request for "/"; the response is not read.
//
// TCP connects to every address of the host at once; TLS runs on the one
// that connected. True when the server answered: the request is sent, or the
// connection is refused, or the server answers the handshake with an alert,
// other bytes, a reset or a close (those pass with a warning). False when the
// host has fewer than 6 bytes or the port is negative (nothing is sent), when
// the host text cannot stand in a URI authority or the host cannot be turned
// into an address (a warning is logged for both), when connecting times out
// or fails for any other reason, or when the server is silent after connecting.
bool ProbeHttps(std::string host, std::int32_t port, std::chrono::milliseconds timeout = kHttpsProbeTimeout);

namespace quill::netcheck {

// The probe with its reason, warning, address and time and, after a
// handshake, the certificate's facts; the lookup has its own bound, and a stop
// request ends it at once.
ProbeOutcome CheckHttps(const std::string& host, std::int32_t port, std::chrono::milliseconds timeout,
    std::chrono::milliseconds lookupBound = kNameLookupBound, std::stop_token stop = {});

} // namespace quill::netcheck
