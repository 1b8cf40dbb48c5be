#include "AdaptersInfo.h"

#include "ResolverConfig.h"
#include "RouteTable.h"
#include "SplitAddress.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <iterator>
#include <map>
#include <memory>
#include <vector>

namespace quill::netinfo {

namespace {

    struct InterfaceAddress {
        std::string name;
        bool loopback = false;
        bool hasIpv4 = false;
        std::string address;
        std::string mask;
    };

    std::string DottedDecimal(const sockaddr* socketAddress)
    {
        if (socketAddress == nullptr || socketAddress->sa_family != AF_INET)
            return {};
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(socketAddress);
        std::array<char, INET_ADDRSTRLEN> text {};
        if (::inet_ntop(AF_INET, &ipv4->sin_addr, text.data(), static_cast<socklen_t>(text.size()))
            == nullptr)
            return {};
        return text.data();
    }

    // An address with a label ("eth0:1") belongs to the device before the ":";
    // device names themselves never contain one.
    std::string DeviceName(const char* label)
    {
        const std::string name = label != nullptr ? label : "";
        return name.substr(0, name.find(':'));
    }

    // Interfaces in the order the system lists them (the kernel's link order),
    // each with its first IPv4 address.
    std::vector<InterfaceAddress> CollectInterfaces(const ifaddrs* list)
    {
        std::vector<InterfaceAddress> interfaces;
        for (const ifaddrs* entry = list; entry != nullptr; entry = entry->ifa_next) {
            const std::string name = DeviceName(entry->ifa_name);
            auto it = std::find_if(interfaces.begin(), interfaces.end(),
                [&](const InterfaceAddress& known) { return known.name == name; });
            if (it == interfaces.end()) {
                InterfaceAddress fresh;
                fresh.name = name;
                interfaces.push_back(std::move(fresh));
                it = std::prev(interfaces.end());
            }
            if ((entry->ifa_flags & IFF_LOOPBACK) != 0)
                it->loopback = true;
            if (it->hasIpv4 || entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET)
                continue;
            it->hasIpv4 = true;
            it->address = DottedDecimal(entry->ifa_addr);
            it->mask = DottedDecimal(entry->ifa_netmask);
        }
        return interfaces;
    }

} // namespace

AdapterSources AdapterSources::System()
{
    return { kResolverConfigFile, kRouteTableFile };
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
    ifaddrs* rawList = nullptr;
    if (::getifaddrs(&rawList) != 0)
        return errno != ENOMEM;
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> list(rawList, &::freeifaddrs);

    const std::vector<InterfaceAddress> interfaces = CollectInterfaces(list.get());
    const std::map<std::string, std::string> gateways = ReadDefaultGateways(sources.routeTableFile);
    // The resolver configuration is system-wide: every adapter shows the same server.
    const std::string dnsServer = ReadFirstIpv4Nameserver(sources.resolverConfigFile);

    for (const InterfaceAddress& adapter : interfaces) {
        if (adapter.loopback || !adapter.hasIpv4)
            continue;
        if (adapter.address.empty() || adapter.address.front() == '0')
            continue; // no usable address, as "0.0.0.0" on other platforms
        if (!SplitAddress(table, adapter.address))
            continue; // also when the table is full: further adapters are ignored
        AdapterInfo& slot = table.slots[static_cast<std::size_t>(table.count)];
        slot.subnetMask = adapter.mask;
        const auto gateway = gateways.find(adapter.name);
        slot.defaultGateway = gateway != gateways.end() ? gateway->second : std::string();
        slot.dnsServer = dnsServer;
        ++table.count;
    }
    return true;
}

} // namespace quill::netinfo
