#pragma once

#include "DiscoveryProtocol.h"

#include <cstdint>

namespace quill::discovery {

// The two UDP ports of the discovery engine: where answers are received and
// where queries are sent. The program always uses the discovery port for both;
// tests hand in free ports so that they can run on loopback beside each other.
struct DiscoveryPorts {
    std::uint16_t listenPort = kDiscoveryPort;
    std::uint16_t queryPort = kDiscoveryPort;
};

} // namespace quill::discovery

using quill::discovery::DiscoveryPorts;
