#pragma once

#include "AdapterInfo.h"

#include <string>

namespace quill::netinfo {

// Where the platform keeps what the adapter table needs beyond the
// interfaces' own addresses. Defaults are the real system files; tests point
// them elsewhere.
struct AdapterSources {
    std::string resolverConfigFile;
    std::string routeTableFile;

    static AdapterSources System();
};

// Fills the table from the platform's adapters, in the system's order: per
// adapter its first IPv4 address with its mask, its default gateway (empty
// when it has none) and the first DNS server (empty when none can be read).
// Loopback interfaces and interfaces without an IPv4 address are not
// adapters; an adapter whose address text begins with "0" is skipped.
// False only when there was no memory for the adapter list; true otherwise,
// also when the platform reported an error (table unchanged then).
bool ReadAdaptersInfo(AdapterTable& table);
bool ReadAdaptersInfo(AdapterTable& table, const AdapterSources& sources);

// ReadAdaptersInfo as a collector to hand to the main window.
AdapterCollector MakeAdapterListCollector(AdapterSources sources = AdapterSources::System());

} // namespace quill::netinfo
