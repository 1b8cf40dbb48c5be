#pragma once

#include "HostLookup.h"
#include "ProbeHttps.h"
#include "ProbeNtp.h"
#include "ProbePort.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <string>

// Where and how long the network check probes. The defaults are the product's;
// tests point the check at servers of their own on loopback.
struct DeviceProbes {
    // The four ports of the product's server tested by Check, in row order
    // ("Port 80 :", "Port 30001 :", "Port 30002 :", "Port 30003 :").
    std::array<std::int32_t, 4> lanPorts { 80, 30001, 30002, 30003 };
    std::chrono::milliseconds portTimeout = kPortProbeTimeout;

    // The cloud server's HTTPS ports, rows "Port 5672 :" and "Port 443 :".
    std::int32_t cloudPort = 5672;
    std::int32_t cloudTlsPort = 443;
    std::chrono::milliseconds httpsTimeout = kHttpsProbeTimeout;

    // The time server's port, row "Port 123 :".
    std::uint16_t ntpPort = kNtpPort;
    std::chrono::milliseconds ntpTimeout = kNtpProbeTimeout;

    // Every name lookup, on top of the probe's own time-out.
    std::chrono::milliseconds lookupBound = quill::netcheck::kNameLookupBound;

    // The settings file that names the server ("RCS", "IP") and presets the
    // hosts ("NetCheck"); empty: none, every entry missing. The window gives
    // the working directory's "Config.ini".
    std::string settingsPath;
};
