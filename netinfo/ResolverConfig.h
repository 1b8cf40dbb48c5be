#pragma once

#include <string>
#include <string_view>

namespace quill::netinfo {

// The system's resolver configuration.
inline constexpr const char* kResolverConfigFile = "/etc/resolv.conf";

// The address of the first "nameserver" line that holds an IPv4 address, in
// dotted decimal; empty when there is none. IPv6 servers are passed over:
// the adapter table holds IPv4 texts only.
std::string ParseFirstIpv4Nameserver(std::string_view resolverConfig);

// The same read from a file; empty when the file cannot be read.
std::string ReadFirstIpv4Nameserver(const std::string& resolverConfigFile);

} // namespace quill::netinfo
