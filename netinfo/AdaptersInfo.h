#pragma once

#include "AdapterInfo.h"

#include <string>

namespace quill::netinfo {

// Where the platform keeps what the adapter table needs beyond the
// interfaces' own addresses. System() gives the real files and the system
// bus; tests point them elsewhere. An empty bus address asks no bus.
struct AdapterSources {
    std::string resolverConfigFile;
    std::string resolvedUpstreamConfigFile;
    std::string routeTableFile;
    std::string busAddress;

    static AdapterSources System();
};

// Fills the table from the platform's adapters: those that are up, have a
// carrier and an IPv4 address whose text does not begin with "0"; loopback
// is no adapter. The adapter of the lowest-metric default route comes first,
// as it is the one the user most likely means; the others follow in the
// system's order. Per adapter: its first IPv4 address with its mask, its
// default gateway (empty when it has none), its name and its first DNS
// server: the adapter's own or the global one of systemd-resolved where that
// runs, else the first upstream server of the resolver files (ResolverConfig.h).
// False only when there was no memory for the adapter list; true otherwise,
// also when the platform reported an error (table unchanged then).
bool ReadAdaptersInfo(AdapterTable& table);
bool ReadAdaptersInfo(AdapterTable& table, const AdapterSources& sources);

// ReadAdaptersInfo as a collector to hand to the main window.
AdapterCollector MakeAdapterListCollector(AdapterSources sources);

} // namespace quill::netinfo
