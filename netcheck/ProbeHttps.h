#pragma once

#include <chrono>
#include <cstdint>
#include <string>

// How long each phase of the HTTPS probe (connecting, handshaking, sending)
// may take before the server counts as unreachable.
inline constexpr std::chrono::milliseconds kHttpsProbeTimeout { 4000 };

// Opens a TLS session to host:port without checking the server's certificate
// and sends one GET request for "/"; the response is not read.
//
// False when the host has fewer than 6 bytes or the port is negative (nothing
// is sent), when the host text cannot stand in a URI authority or the session
// cannot be created (a warning is logged), or when a phase times out. True when
// the request is sent, and when it fails in any other way (refused, not
// resolved, handshake failure).
bool ProbeHttps(std::string host, std::int32_t port, std::chrono::milliseconds timeout = kHttpsProbeTimeout);
