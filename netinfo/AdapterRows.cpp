#include "AdapterRows.h"

#include "NetworkInterfaces.h"
#include "RouteTable.h"

#include <algorithm>
#include <map>

namespace quill::netinfo {

namespace {

    AdapterRow RowOf(const AdapterInfo& adapter, const discovery::Ipv4Octets& address)
    {
        return { adapter.interfaceName, address, adapter.subnetMask, adapter.defaultGateway,
            adapter.dnsServer, true, false, true };
    }

} // namespace

std::vector<AdapterRow> ReadAdapterRows(const AdapterCollectors& collectors)
{
    AdapterTable table;
    CollectAdapterTable(table, collectors);
    std::vector<NetworkInterface> interfaces;
    ReadNetworkInterfaces(interfaces);
    const std::map<std::string, DefaultRoute> routes = ReadDefaultRoutes(collectors.sources.routeTableFile);

    // The table puts the adapter of the lowest-metric default route first.
    std::string defaultInterface;
    if (table.count > 0 && routes.contains(table.slots[0].interfaceName))
        defaultInterface = table.slots[0].interfaceName;

    std::vector<AdapterRow> rows;
    for (const NetworkInterface& candidate : interfaces) {
        if (candidate.loopback || !candidate.address)
            continue;
        AdapterRow row;
        row.name = candidate.name;
        row.address = *candidate.address;
        row.mask = discovery::FormatIpv4(candidate.mask);
        row.carrier = candidate.up && candidate.carrier;
        if (const auto route = routes.find(candidate.name); route != routes.end())
            row.gateway = route->second.gateway;
        rows.push_back(row);
    }
    const auto filled = table.slots.begin() + std::clamp(table.count, 0, kAdapterSlotCount);
    for (auto adapter = table.slots.begin(); adapter != filled; ++adapter) {
        const auto address = discovery::Ipv4FromParts(adapter->addressParts);
        if (!address)
            continue;
        auto row = std::find_if(rows.begin(), rows.end(), [&](const AdapterRow& known) {
            return !known.name.empty() && known.name == adapter->interfaceName;
        });
        if (row == rows.end())
            row = rows.insert(rows.end(), RowOf(*adapter, *address));
        else
            *row = RowOf(*adapter, *address);
        row->defaultRoute = !defaultInterface.empty() && row->name == defaultInterface;
    }
    return rows;
}

AdapterTable AdapterTableOf(const std::vector<AdapterRow>& rows)
{
    std::vector<const AdapterRow*> searchable;
    for (const AdapterRow& row : rows)
        if (row.searchable)
            searchable.push_back(&row);
    std::stable_partition(
        searchable.begin(), searchable.end(), [](const AdapterRow* row) { return row->defaultRoute; });
    AdapterTable table;
    for (const AdapterRow* row : searchable) {
        if (!HasFreeSlot(table))
            break;
        table.slots[static_cast<std::size_t>(table.count++)]
            = AdapterInfo { discovery::Ipv4Parts(row->address), row->mask, row->gateway, row->dnsServer,
                  row->name };
    }
    return table;
}

} // namespace quill::netinfo
