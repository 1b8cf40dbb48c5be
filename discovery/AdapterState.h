#pragma once

#include "DiscoverySweep.h"

#include <optional>
#include <string>
#include <vector>

namespace quill::discovery {

// The interface that holds an address, as the kernel has it now.
struct AdapterState {
    std::string name;
    std::vector<Ipv4Octets> addresses; // all its IPv4 addresses
    bool carrier = false; // up and running: a link is there
};

// Looks in the calling thread's network namespace; nothing when no interface
// holds the address (any more).
std::optional<AdapterState> FindAdapterHolding(const Ipv4Octets& address);

} // namespace quill::discovery
