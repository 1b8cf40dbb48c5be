#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace quill::netinfo {

// The reverse-path filter that applies to packets arriving on an adapter:
// the larger of net.ipv4.conf.all.rp_filter and the adapter's own
// (0 off, 1 strict, 2 loose), read from <procRoot>/sys/net/ipv4/conf. Empty
// when the adapter's value cannot be read (no such adapter, not Linux) or the
// name is not a plain interface name.
std::optional<int> EffectiveReversePathFilter(
    const std::string& adapterName, const std::filesystem::path& procRoot = "/proc");

// Whether the filter drops a packet from an address the PC has no route to,
// broadcasts included: an answer from a camera in another subnet, on a
// network without a gateway, never reaches the program.
inline bool DropsUnroutedSenders(int reversePathFilter)
{
    return reversePathFilter == 1 || reversePathFilter == 2;
}

} // namespace quill::netinfo
