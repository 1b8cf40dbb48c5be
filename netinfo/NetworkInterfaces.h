#pragma once

#include "DiscoveryRange.h"

#include <optional>
#include <string>
#include <vector>

namespace quill::netinfo {

// One network interface as the kernel reports it, with its first IPv4 address.
struct NetworkInterface {
    std::string name;
    unsigned index = 0;
    bool loopback = false;
    bool up = false; // IFF_UP: switched on by the user or the system
    bool carrier = false; // IFF_RUNNING: a cable, a peer or a radio link is there
    std::optional<discovery::Ipv4Octets> address; // none when it has no IPv4 address
    discovery::Ipv4Octets mask {};
};

// The interfaces of the calling thread's network namespace in the kernel's
// order. False when the list cannot be read; errno tells why.
bool ReadNetworkInterfaces(std::vector<NetworkInterface>& interfaces);

} // namespace quill::netinfo
