#include "AdapterRows.h"

#include "NetworkInterfaces.h"
#include "RouteTable.h"

#include <map>

namespace quill::netinfo {

std::vector<AdapterRow> ReadAdapterRows(const AdapterSources& sources)
{
    std::vector<NetworkInterface> interfaces;
    ReadNetworkInterfaces(interfaces);
    AdapterTable table;
    ReadAdaptersInfo(table, sources);
    const std::map<std::string, DefaultRoute> routes = ReadDefaultRoutes(sources.routeTableFile);

    // The table puts the adapter of the lowest-metric default route first.
    std::string defaultInterface;
    if (table.count > 0 && routes.contains(table.slots[0].interfaceName))
        defaultInterface = table.slots[0].interfaceName;

    std::vector<AdapterRow> rows;
    for (const NetworkInterface& candidate : interfaces) {
        if (candidate.loopback || candidate.address.empty())
            continue;
        AdapterRow row;
        row.name = candidate.name;
        row.address = candidate.address;
        row.mask = candidate.mask;
        row.carrier = candidate.up && candidate.carrier;
        row.defaultRoute = !defaultInterface.empty() && candidate.name == defaultInterface;
        if (const auto route = routes.find(candidate.name); route != routes.end())
            row.gateway = route->second.gateway;
        for (std::int32_t slot = 0; slot < table.count; ++slot) {
            const AdapterInfo& adapter = table.slots[static_cast<std::size_t>(slot)];
            if (adapter.interfaceName == candidate.name) {
                row.gateway = adapter.defaultGateway;
                row.dnsServer = adapter.dnsServer;
                row.searchable = true;
            }
        }
        rows.push_back(row);
    }
    return rows;
}

} // namespace quill::netinfo
