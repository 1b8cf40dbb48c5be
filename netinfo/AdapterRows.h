#pragma once

#include "AdaptersInfo.h"

#include <string>
#include <vector>

namespace quill::netinfo {

// One IPv4 interface as `adapters` lists it.
struct AdapterRow {
    std::string name;
    std::string address;
    std::string mask;
    std::string gateway;
    std::string dnsServer;
    bool carrier = false; // up, with a cable, peer or radio link
    bool defaultRoute = false; // the usable adapter of the lowest-metric default route
    bool searchable = false; // in the table that camera discovery chooses from
};

// Every interface with an IPv4 address except loopback, in the kernel's order,
// with the adapter table's settings where discovery would use the adapter.
// Unusable interfaces are listed too: they are often why a camera is not found.
std::vector<AdapterRow> ReadAdapterRows(const AdapterSources& sources);

} // namespace quill::netinfo
