#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace quill::discovery {

using Ipv4Octets = std::array<std::uint8_t, 4>;

// The addresses one search sweeps: from begin to end within one /24 network.
struct DiscoveryRange {
    Ipv4Octets begin {};
    Ipv4Octets end {};

    friend bool operator==(const DiscoveryRange&, const DiscoveryRange&) = default;
};

// The range rule: a sweep never leaves the begin's /24, so the end's first
// three octets are always the begin's, whatever was typed there.
DiscoveryRange RangeWithin24(const Ipv4Octets& begin, const Ipv4Octets& end);

// The whole /24 network of an address: .0 to .255.
DiscoveryRange NetworkOf(const Ipv4Octets& address);

// A dotted IPv4 address, or nothing.
std::optional<Ipv4Octets> ParseIpv4(std::string_view text);

std::string FormatIpv4(const Ipv4Octets& address);

// An address as the adapter table keeps it, its octets as decimal texts
// (192.168.1.20 gives 192, 168, 1 and 20), and back: the first four texts,
// each a decimal octet, or nothing.
std::vector<std::string> Ipv4Parts(const Ipv4Octets& address);
std::optional<Ipv4Octets> Ipv4FromParts(const std::vector<std::string>& parts);

// Where a datagram came from.
struct Ipv4Endpoint {
    Ipv4Octets address {};
    std::uint16_t port = 0;

    friend bool operator==(const Ipv4Endpoint&, const Ipv4Endpoint&) = default;
};
// "A.B.C.D:port"
std::string FormatEndpoint(const Ipv4Endpoint& endpoint);
// "A.B.C.D-E", as a range is typed on the command line.
std::string FormatRange(const DiscoveryRange& range);

// A typed range: "A.B.C.D-E" or "A.B.C.D-A.B.C.E", or one address. Typed text
// is taken strictly: where the window quietly applies the range rule, a range
// that leaves its /24 or ends below its start is refused with the reason.
std::variant<DiscoveryRange, std::string> ParseRange(std::string_view text);

// Why no camera can be in the range, from its first octet: "this network"
// (0.0.0.0/8), loopback (127.0.0.0/8), multicast and the reserved and
// broadcast addresses above it (224.0.0.0 to 255.255.255.255). Nothing for an
// address class that hosts may hold.
std::optional<std::string> WhyNoCameraIn(const DiscoveryRange& range);

} // namespace quill::discovery
