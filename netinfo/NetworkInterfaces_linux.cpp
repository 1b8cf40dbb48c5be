#include "NetworkInterfaces.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace quill::netinfo {

namespace {

    discovery::Ipv4Octets OctetsOf(const sockaddr* socketAddress)
    {
        discovery::Ipv4Octets octets {};
        if (socketAddress == nullptr || socketAddress->sa_family != AF_INET)
            return octets;
        const auto* ipv4 = reinterpret_cast<const sockaddr_in*>(socketAddress);
        std::memcpy(octets.data(), &ipv4->sin_addr, octets.size()); // network order: first octet first
        return octets;
    }

    // An address with a label ("eth0:1") belongs to the device before the ":";
    // device names themselves never contain one.
    std::string DeviceName(const char* label)
    {
        const std::string name = label != nullptr ? label : "";
        return name.substr(0, name.find(':'));
    }

} // namespace

bool ReadNetworkInterfaces(std::vector<NetworkInterface>& interfaces)
{
    ifaddrs* rawList = nullptr;
    if (::getifaddrs(&rawList) != 0)
        return false;
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> list(rawList, &::freeifaddrs);

    // The link entries come first, in index order; addresses follow.
    interfaces.clear();
    for (const ifaddrs* entry = list.get(); entry != nullptr; entry = entry->ifa_next) {
        const std::string name = DeviceName(entry->ifa_name);
        auto it = std::find_if(interfaces.begin(), interfaces.end(),
            [&](const NetworkInterface& known) { return known.name == name; });
        if (it == interfaces.end()) {
            NetworkInterface& fresh = interfaces.emplace_back();
            fresh.name = name;
            fresh.index = ::if_nametoindex(name.c_str());
            fresh.loopback = (entry->ifa_flags & IFF_LOOPBACK) != 0;
            fresh.up = (entry->ifa_flags & IFF_UP) != 0;
            fresh.carrier = (entry->ifa_flags & IFF_RUNNING) != 0;
            it = std::prev(interfaces.end());
        }
        if (it->address || entry->ifa_addr == nullptr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        it->address = OctetsOf(entry->ifa_addr);
        it->mask = OctetsOf(entry->ifa_netmask);
    }
    return true;
}

} // namespace quill::netinfo
