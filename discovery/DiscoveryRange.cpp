#include "DiscoveryRange.h"

#include <boost/asio/ip/address_v4.hpp>
#include <boost/format.hpp>

#include <charconv>

namespace quill::discovery {

DiscoveryRange RangeWithin24(const Ipv4Octets& begin, const Ipv4Octets& end)
{
    return { begin, { begin[0], begin[1], begin[2], end[3] } };
}

DiscoveryRange NetworkOf(const Ipv4Octets& address)
{
    return { { address[0], address[1], address[2], 0 }, { address[0], address[1], address[2], 255 } };
}

std::optional<Ipv4Octets> ParseIpv4(std::string_view text)
{
    boost::system::error_code error;
    const auto address = boost::asio::ip::make_address_v4(std::string(text), error);
    if (error)
        return std::nullopt;
    return address.to_bytes();
}

std::string FormatIpv4(const Ipv4Octets& address)
{
    return boost::asio::ip::address_v4(address).to_string();
}

std::vector<std::string> Ipv4Parts(const Ipv4Octets& address)
{
    return { std::to_string(address[0]), std::to_string(address[1]), std::to_string(address[2]),
        std::to_string(address[3]) };
}

std::optional<Ipv4Octets> Ipv4FromParts(const std::vector<std::string>& parts)
{
    if (parts.size() < 4)
        return std::nullopt;
    Ipv4Octets address {};
    for (std::size_t i = 0; i < address.size(); ++i) {
        const std::string& part = parts[i];
        unsigned value = 0;
        const auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), value);
        if (part.empty() || part.size() > 3 || error != std::errc {} || end != part.data() + part.size()
            || value > 255)
            return std::nullopt;
        address[i] = static_cast<std::uint8_t>(value);
    }
    return address;
}

std::string FormatEndpoint(const Ipv4Endpoint& endpoint)
{
    return FormatIpv4(endpoint.address) + ':' + std::to_string(endpoint.port);
}

std::string FormatRange(const DiscoveryRange& range)
{
    return FormatIpv4(range.begin) + "-" + std::to_string(range.end[3]);
}

std::variant<DiscoveryRange, std::string> ParseRange(std::string_view text)
{
    const std::string_view::size_type dash = text.find('-');
    const std::string_view first = text.substr(0, dash);
    const auto begin = ParseIpv4(first);
    if (!begin)
        return (boost::format("\"%s\" is no IPv4 address") % first).str();
    if (dash == std::string_view::npos)
        return DiscoveryRange { *begin, *begin };

    const std::string_view last = text.substr(dash + 1);
    std::optional<Ipv4Octets> end;
    if (last.find('.') == std::string_view::npos) {
        // The last octet alone: digits only, as an address octet is typed.
        unsigned value = 0;
        bool digits = !last.empty() && last.size() <= 3;
        for (const char c : last) {
            digits = digits && c >= '0' && c <= '9';
            value = value * 10 + static_cast<unsigned>(c - '0');
        }
        if (digits && value <= 255)
            end = Ipv4Octets { (*begin)[0], (*begin)[1], (*begin)[2], static_cast<std::uint8_t>(value) };
    } else {
        end = ParseIpv4(last);
    }
    if (!end)
        return (boost::format("\"%s\" is no end address or last octet") % last).str();
    if (RangeWithin24(*begin, *end).end != *end)
        return (boost::format("%s-%s is wider than a /24 network") % FormatIpv4(*begin) % FormatIpv4(*end))
            .str();
    if ((*end)[3] < (*begin)[3])
        return (boost::format("%s-%s ends below its start") % FormatIpv4(*begin) % FormatIpv4(*end)).str();
    return DiscoveryRange { *begin, *end };
}

std::optional<std::string> WhyNoCameraIn(const DiscoveryRange& range)
{
    // The range never leaves one /24, so its first octet is the whole story.
    const unsigned first = range.begin[0];
    if (first == 0)
        return std::string("0.0.0.0/8 means \"this network\" and is no host's address");
    if (first == 127)
        return std::string("127.0.0.0/8 is this PC's own loopback, where no camera can be");
    if (first >= 240)
        return std::string("240.0.0.0 to 255.255.255.255 are reserved and broadcast addresses, no host's");
    if (first >= 224)
        return std::string("224.0.0.0/4 is multicast, no host's address");
    return std::nullopt;
}

} // namespace quill::discovery
