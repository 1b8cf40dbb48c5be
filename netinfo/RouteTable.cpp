#include "RouteTable.h"

#include "DiscoveryRange.h"
#include "TextFile.h"

#include <net/route.h>
#include <netinet/in.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <limits>
#include <optional>
#include <utility>
#include <vector>

namespace quill::netinfo {

namespace {

    std::vector<std::string_view> SplitFields(std::string_view line)
    {
        std::vector<std::string_view> fields;
        std::size_t pos = 0;
        for (;;) {
            pos = line.find_first_not_of(" \t", pos);
            if (pos == std::string_view::npos)
                return fields;
            const std::size_t end = std::min(line.find_first_of(" \t", pos), line.size());
            fields.push_back(line.substr(pos, end - pos));
            pos = end;
        }
    }

    template <typename Number> std::optional<Number> ParseNumber(std::string_view text, int base)
    {
        Number value {};
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
        if (error != std::errc {} || end != text.data() + text.size())
            return std::nullopt;
        return value;
    }

    std::string DottedDecimal(std::uint32_t networkOrderAddress)
    {
        // The kernel prints the address's raw 32 bits as one hexadecimal
        // number, so reading it back as a number gives those bits again.
        discovery::Ipv4Octets address {};
        std::memcpy(address.data(), &networkOrderAddress, address.size());
        return discovery::FormatIpv4(address);
    }

    // Columns: Iface Destination Gateway Flags RefCnt Use Metric Mask ...
    enum Column { kIface, kDestination, kGateway, kFlags, kRefCnt, kUse, kMetric, kMask, kColumnsNeeded };

} // namespace

std::map<std::string, DefaultRoute> ParseDefaultRoutes(std::string_view routeTable)
{
    std::map<std::string, DefaultRoute> routes;
    std::map<std::string, std::uint32_t> bestGatewayMetric;
    std::size_t lineStart = 0;
    bool header = true;
    while (lineStart < routeTable.size()) {
        const std::size_t lineEnd = std::min(routeTable.find('\n', lineStart), routeTable.size());
        const std::string_view line = routeTable.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;
        if (std::exchange(header, false))
            continue;

        const std::vector<std::string_view> fields = SplitFields(line);
        if (fields.size() < kColumnsNeeded)
            continue;
        const auto destination = ParseNumber<std::uint32_t>(fields[kDestination], 16);
        const auto gateway = ParseNumber<std::uint32_t>(fields[kGateway], 16);
        const auto flags = ParseNumber<std::uint32_t>(fields[kFlags], 16);
        const auto metric = ParseNumber<std::uint32_t>(fields[kMetric], 10);
        const auto mask = ParseNumber<std::uint32_t>(fields[kMask], 16);
        if (!destination || !gateway || !flags || !metric || !mask)
            continue;
        if (*destination != 0 || *mask != 0 || (*flags & RTF_UP) == 0)
            continue; // not a default route, or down

        const std::string name(fields[kIface]);
        const auto route = routes.try_emplace(name, DefaultRoute { *metric, {} }).first;
        route->second.metric = std::min(route->second.metric, *metric);
        if ((*flags & RTF_GATEWAY) == 0)
            continue;
        const auto known = bestGatewayMetric.find(name);
        if (known != bestGatewayMetric.end() && known->second <= *metric)
            continue;
        bestGatewayMetric[name] = *metric;
        route->second.gateway = DottedDecimal(*gateway);
    }
    return routes;
}

std::map<std::string, DefaultRoute> ReadDefaultRoutes(const std::string& routeTableFile)
{
    const std::optional<std::string> table = ReadTextFile(routeTableFile);
    if (!table)
        return {};
    return ParseDefaultRoutes(*table);
}

} // namespace quill::netinfo
