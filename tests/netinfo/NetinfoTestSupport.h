#pragma once

#include "AdapterInfo.h"

#include <ostream>

namespace quill::netinfo {

// Readable failure messages for table comparisons.
inline void PrintTo(const AdapterInfo& info, std::ostream* os)
{
    for (const std::string& part : info.addressParts)
        *os << '[' << part << ']';
    *os << " mask=[" << info.subnetMask << "] gw=[" << info.defaultGateway << "] dns=[" << info.dnsServer
        << "] " << info.interfaceName;
}

inline std::vector<AdapterInfo> FilledSlots(const AdapterTable& table)
{
    return { table.slots.begin(), table.slots.begin() + table.count };
}

} // namespace quill::netinfo
