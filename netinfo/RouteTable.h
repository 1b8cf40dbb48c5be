#pragma once

#include <map>
#include <string>
#include <string_view>

namespace quill::netinfo {

// The kernel's IPv4 routing table as /proc/net/route shows it.
inline constexpr const char* kRouteTableFile = "/proc/net/route";

// Each interface's default gateway in dotted decimal, by interface name.
// Only default routes through a gateway count; of several on one interface
// the one with the lowest metric wins (the first listed among equals).
// Malformed lines are skipped.
std::map<std::string, std::string> ParseDefaultGateways(std::string_view routeTable);

// The same read from a file; empty when the file cannot be read.
std::map<std::string, std::string> ReadDefaultGateways(const std::string& routeTableFile);

} // namespace quill::netinfo
