#include "AdaptersInfo.h"

#include "NetworkInterfaces.h"
#include "ResolvedDns.h"
#include "ResolverConfig.h"
#include "RouteTable.h"

#include <algorithm>
#include <cerrno>
#include <map>
#include <vector>

namespace quill::netinfo {

namespace {

    // An unplugged cable or a bridge without members keeps its address but
    // reaches nothing: it must not become the default.
    bool IsUsableAdapter(const NetworkInterface& candidate)
    {
        if (candidate.loopback || !candidate.up || !candidate.carrier)
            return false;
        // No usable address, as "0.0.0.0" on other platforms, whose text begins with "0".
        return candidate.address && (*candidate.address)[0] != 0;
    }

    // Moves the adapter of the lowest-metric default route to the front,
    // keeping the order of the others (the first listed among equals).
    void PutDefaultRouteFirst(
        std::vector<NetworkInterface>& adapters, const std::map<std::string, DefaultRoute>& routes)
    {
        auto best = adapters.end();
        for (auto it = adapters.begin(); it != adapters.end(); ++it) {
            const auto route = routes.find(it->name);
            if (route != routes.end()
                && (best == adapters.end() || route->second.metric < routes.at(best->name).metric))
                best = it;
        }
        if (best != adapters.end())
            std::rotate(adapters.begin(), best, std::next(best));
    }

} // namespace

AdapterSources AdapterSources::System()
{
    return { kResolverConfigFile, kResolvedUpstreamConfigFile, kRouteTableFile, SystemBusAddress() };
}

bool ReadAdaptersInfo(AdapterTable& table)
{
    return ReadAdaptersInfo(table, AdapterSources::System());
}

AdapterCollector MakeAdapterListCollector(AdapterSources sources)
{
    return [sources = std::move(sources)](AdapterTable& table) { return ReadAdaptersInfo(table, sources); };
}

bool ReadAdaptersInfo(AdapterTable& table, const AdapterSources& sources)
{
    std::vector<NetworkInterface> adapters;
    if (!ReadNetworkInterfaces(adapters))
        return errno != ENOMEM;
    std::erase_if(adapters, [](const NetworkInterface& candidate) { return !IsUsableAdapter(candidate); });
    const std::map<std::string, DefaultRoute> routes = ReadDefaultRoutes(sources.routeTableFile);
    PutDefaultRouteFirst(adapters, routes);

    // The resolver files are system-wide: every adapter resolved knows nothing about shows the same server.
    const std::string systemDnsServer
        = ReadUpstreamNameserver(sources.resolverConfigFile, sources.resolvedUpstreamConfigFile);
    ResolvedDns resolved(sources.busAddress);

    for (const NetworkInterface& adapter : adapters) {
        if (!HasFreeSlot(table))
            break; // further adapters are ignored
        AdapterInfo& slot = table.slots[static_cast<std::size_t>(table.count)];
        slot.addressParts = discovery::Ipv4Parts(*adapter.address);
        slot.subnetMask = discovery::FormatIpv4(adapter.mask);
        const auto route = routes.find(adapter.name);
        slot.defaultGateway = route != routes.end() ? route->second.gateway : std::string();
        slot.dnsServer = resolved.FirstServer(adapter.index);
        if (slot.dnsServer.empty())
            slot.dnsServer = systemDnsServer;
        slot.interfaceName = adapter.name;
        ++table.count;
    }
    return true;
}

} // namespace quill::netinfo
