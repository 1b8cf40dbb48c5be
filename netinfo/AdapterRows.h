#pragma once

#include "AdapterCollection.h"
#include "DiscoveryRange.h"

#include <string>
#include <vector>

namespace quill::netinfo {

// One adapter of the PC as every front end sees it: the window's adapter
// table, the command line's `adapters` and the site report are made from it.
// The mask, gateway and DNS server are texts as their source gave them (an
// ipconfig report may give IPv6 or a name there); empty when there is none.
struct AdapterRow {
    std::string name; // empty where the source has none (an ipconfig report)
    discovery::Ipv4Octets address {};
    std::string mask;
    std::string gateway;
    std::string dnsServer;
    bool carrier = false; // up, with a cable, peer or radio link
    bool defaultRoute = false; // the usable adapter of the lowest-metric default route
    bool searchable = false; // in the table that camera discovery chooses from

    friend bool operator==(const AdapterRow&, const AdapterRow&) = default;
};

// The PC's adapters: every interface with an IPv4 address except loopback, in
// the kernel's order, then the table's adapters that no interface names.
// Those of the adapter table (collected as CollectAdapterTable does) are
// searchable and carry the table's settings. Unusable interfaces are listed
// too: they are often why a camera is not found.
std::vector<AdapterRow> ReadAdapterRows(const AdapterCollectors& collectors);

// The window's adapter table made of the searchable adapters: the default
// route's first, the others in order, at most the table's slots.
AdapterTable AdapterTableOf(const std::vector<AdapterRow>& rows);

} // namespace quill::netinfo
