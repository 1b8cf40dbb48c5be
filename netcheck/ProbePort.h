#pragma once

#include "HostLookup.h"
#include "ProbeOutcome.h"

#include <chrono>
#include <cstdint>
#include <stop_token>
#include <string>

// How long one connection attempt of the port probe may take before the port
// counts as blocked.
inline constexpr std::chrono::milliseconds kPortProbeTimeout { 800 };

// One TCP connection attempt to host:port. An empty host means the server named
// in the settings file at settingsPath, section "RCS", key "IP", read afresh at
// every call.
//
// True when the port is reachable: the connection is established, or refused
// (a reset shows that something on the path answered). False when the
// attempt times out or fails for any other reason (logged as critical), or
// when the host cannot be turned into an address (logged as a warning naming
// port and host).
bool ProbePort(std::string host, std::int32_t port, std::chrono::milliseconds timeout = kPortProbeTimeout,
    const std::string& settingsPath = {});

namespace quill::netcheck {

// The server of the settings file at settingsPath: section "RCS", key "IP".
std::string SettingsServer(const std::string& settingsPath);

// The attempt itself, to every address of a lookup made before at once (so
// that one lookup serves several ports), with the port probe's verdict,
// warning and records. An empty host fails as no server set.
ProbeOutcome ConnectPort(const LookupResult& server, const std::string& host, std::int32_t port,
    std::chrono::milliseconds timeout, std::stop_token stop = {});

} // namespace quill::netcheck
