#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quill::netinfo {

// The system's resolver configuration, and the one systemd-resolved writes
// with its upstream servers when /etc/resolv.conf points at its local stub.
inline constexpr const char* kResolverConfigFile = "/etc/resolv.conf";
inline constexpr const char* kResolvedUpstreamConfigFile = "/run/systemd/resolve/resolv.conf";

// The addresses of the "nameserver" lines that hold an IPv4 address, in
// order, dotted decimal. IPv6 servers are passed over: the adapter table
// holds IPv4 texts only.
std::vector<std::string> ParseIpv4Nameservers(std::string_view resolverConfig);

// The DNS server to show for every adapter: the first server of the resolver
// configuration that is not on this host, else the first such server of
// resolved's upstream configuration, else empty. A local stub or cache
// (127.0.0.53, 127.0.0.1) tells the user nothing about the network.
std::string ReadUpstreamNameserver(
    const std::string& resolverConfigFile, const std::string& upstreamConfigFile);

} // namespace quill::netinfo
