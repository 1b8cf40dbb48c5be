#include "AdapterState.h"

#include <ifaddrs.h>
#include <net/if.h>
#include <netinet/in.h>

#include <cstring>
#include <map>
#include <memory>

namespace quill::discovery {

std::optional<AdapterState> FindAdapterHolding(const Ipv4Octets& address)
{
    ifaddrs* list = nullptr;
    if (::getifaddrs(&list) != 0)
        return std::nullopt;
    const std::unique_ptr<ifaddrs, decltype(&::freeifaddrs)> owned(list, &::freeifaddrs);
    std::map<std::string, AdapterState> byName;
    std::optional<std::string> holder;
    for (const ifaddrs* entry = list; entry; entry = entry->ifa_next) {
        AdapterState& state = byName[entry->ifa_name];
        state.name = entry->ifa_name;
        state.carrier = (entry->ifa_flags & IFF_UP) && (entry->ifa_flags & IFF_RUNNING);
        if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_INET)
            continue;
        Ipv4Octets octets;
        std::memcpy(octets.data(), &reinterpret_cast<const sockaddr_in*>(entry->ifa_addr)->sin_addr, 4);
        state.addresses.push_back(octets);
        if (octets == address)
            holder = entry->ifa_name;
    }
    if (!holder)
        return std::nullopt;
    return byName[*holder];
}

} // namespace quill::discovery
