#pragma once

#include "AdapterInfo.h"

#include <ostream>
#include <string>
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

} // namespace quill::netinfo

namespace quill::netinfo::test {

inline AdapterInfo Adapter(
    std::vector<std::string> parts, std::string mask, std::string gateway, std::string dns)
{
    return AdapterInfo { std::move(parts), std::move(mask), std::move(gateway), std::move(dns) };
}

// The filled slots of a table, for comparing with an expected list.
inline std::vector<AdapterInfo> FilledSlots(const AdapterTable& table)
{
    return std::vector<AdapterInfo>(table.slots.begin(), table.slots.begin() + table.count);
}

} // namespace quill::netinfo::test
