#pragma once

#include "SearchStatus.h"

#include <filesystem>
#include <string>

namespace quill::discovery {

// What a settled search without answers knows of itself, gathered from the
// kernel now: the adapter that holds `adapterAddress` (its name, all its
// addresses, its carrier) and how many addresses of the range answered ARP.
// The adapter is known to the user by `adapterLabel`.
SearchFacts GatherSearchFacts(bool listening, std::uint16_t listenPort, const SweepOutcome& sweep,
    const Ipv4Octets& begin, const Ipv4Octets& end, const std::string& adapterLabel,
    const std::optional<Ipv4Octets>& adapterAddress, const std::filesystem::path& neighbourTable);

} // namespace quill::discovery
