#include "ResolverConfig.h"

#include "TextFile.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <algorithm>
#include <optional>

namespace quill::netinfo {

namespace {
    constexpr std::string_view kKeyword = "nameserver";
    constexpr std::string_view kBlanks = " \t\r";
} // namespace

// Read as the C library's resolver reads it: the keyword starts the line and
// is followed by a blank; lines starting with "#" or ";" are comments anyway.
std::string ParseFirstIpv4Nameserver(std::string_view resolverConfig)
{
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
        const std::string address(line.substr(addressStart, addressEnd - addressStart));
        in_addr parsed {};
        if (::inet_pton(AF_INET, address.c_str(), &parsed) == 1)
            return address;
    }
    return {};
}

std::string ReadFirstIpv4Nameserver(const std::string& resolverConfigFile)
{
    const std::optional<std::string> config = ReadTextFile(resolverConfigFile);
    return config ? ParseFirstIpv4Nameserver(*config) : std::string();
}

} // namespace quill::netinfo
