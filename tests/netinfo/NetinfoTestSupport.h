#pragma once

#include "AdapterInfo.h"

#include <ostream>
#include <vector>

namespace quill::netinfo {

// Readable failure messages for table comparisons.
inline void PrintTo(const AdapterInfo& info, std::ostream* os)
{
    *os << "{";
    for (std::size_t i = 0; i < info.addressParts.size(); ++i)
        *os << (i == 0 ? "" : ".") << '[' << info.addressParts[i] << ']';
    *os << " mask=[" << info.subnetMask << "] gw=[" << info.defaultGateway << "] dns=[" << info.dnsServer
        << "]}";
}

// The filled slots of a table, for comparing with an expected list.
inline std::vector<AdapterInfo> FilledSlots(const AdapterTable& table)
{
    return std::vector<AdapterInfo>(table.slots.begin(), table.slots.begin() + table.count);
}

} // namespace quill::netinfo
