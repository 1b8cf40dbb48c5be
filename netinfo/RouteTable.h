#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>

namespace quill::netinfo {

// The kernel's IPv4 routing table as /proc/net/route shows it.
inline constexpr const char* kRouteTableFile = "/proc/net/route";

// What an interface's default routes say about it.
struct DefaultRoute {
    std::uint32_t metric = 0; // the lowest metric of its default routes that are up
    std::string gateway; // dotted decimal, of its best route through a gateway; may be empty
};

// Each interface that carries a default route, by interface name. Of several
// routes the lowest metric wins (the first listed among equals); a route
// straight onto the link counts for the metric but has no gateway.
// Malformed lines are skipped.
std::map<std::string, DefaultRoute> ParseDefaultRoutes(std::string_view routeTable);

// The same read from a file; empty when the file cannot be read.
std::map<std::string, DefaultRoute> ReadDefaultRoutes(const std::string& routeTableFile);

} // namespace quill::netinfo
