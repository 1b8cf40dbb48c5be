#pragma once

#include "DeviceProbes.h"
#include "ProbeOutcome.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace quill::netcheck {

// One probe of the network check with what it found.
struct CheckRow {
    std::string check; // "port", "cloud" or "ntp"
    std::string host;
    int port = 0;
    ProbeOutcome outcome;
};

struct CheckPlan {
    std::string rcsHost, cloudHost, ntpHost;
    bool ports = true, cloud = true, ntp = true;
};

// Hosts a front end was given, say on its command line.
struct GivenHosts {
    std::optional<std::string> rcs, cloud, ntp;
};

// All three runs, to the hosts given; each host not given is the one the
// check page would use: the server named in the settings file at settingsPath
// (section "RCS", key "IP"), the cloud and time server presets of that file or
// the product's defaults.
CheckPlan PlanChecks(const GivenHosts& given, const std::string& settingsPath);

} // namespace quill::netcheck
