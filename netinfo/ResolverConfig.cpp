#include "ResolverConfig.h"

#include "DiscoveryRange.h"
#include "TextFile.h"

#include <algorithm>
#include <optional>

namespace quill::netinfo {

namespace {

    constexpr std::string_view kKeyword = "nameserver";
    constexpr std::string_view kBlanks = " \t\r";

    bool IsLoopback(const std::string& address)
    {
        return address.starts_with("127.");
    }

    std::string FirstUpstreamIn(const std::string& file)
    {
        const std::optional<std::string> config = ReadTextFile(file);
        if (!config)
            return {};
        const std::vector<std::string> servers = ParseIpv4Nameservers(*config);
        const auto upstream = std::find_if_not(servers.begin(), servers.end(), &IsLoopback);
        return upstream != servers.end() ? *upstream : std::string();
    }

} // namespace

// Read as the C library's resolver reads it: the keyword starts the line and
// is followed by a blank; lines starting with "#" or ";" are comments anyway.
std::vector<std::string> ParseIpv4Nameservers(std::string_view resolverConfig)
{
    std::vector<std::string> servers;
    std::size_t lineStart = 0;
    while (lineStart < resolverConfig.size()) {
        const std::size_t lineEnd = std::min(resolverConfig.find('\n', lineStart), resolverConfig.size());
        const std::string_view line = resolverConfig.substr(lineStart, lineEnd - lineStart);
        lineStart = lineEnd + 1;

        if (!line.starts_with(kKeyword) || line.size() == kKeyword.size())
            continue;
        if (kBlanks.find(line[kKeyword.size()]) == std::string_view::npos)
            continue;
        const std::size_t addressStart = line.find_first_not_of(kBlanks, kKeyword.size());
        if (addressStart == std::string_view::npos)
            continue;
        const std::size_t addressEnd = std::min(line.find_first_of(kBlanks, addressStart), line.size());
        if (const auto parsed = discovery::ParseIpv4(line.substr(addressStart, addressEnd - addressStart)))
            servers.push_back(discovery::FormatIpv4(*parsed));
    }
    return servers;
}

std::string ReadUpstreamNameserver(
    const std::string& resolverConfigFile, const std::string& upstreamConfigFile)
{
    std::string server = FirstUpstreamIn(resolverConfigFile);
    return server.empty() ? FirstUpstreamIn(upstreamConfigFile) : server;
}

} // namespace quill::netinfo
