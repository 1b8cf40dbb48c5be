#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace quill::netinfo {

// One network adapter of the PC with its IPv4 settings, all as 8-bit texts.
// The whole address is never stored: users rebuild it from addressParts.
struct AdapterInfo {
    std::vector<std::string> addressParts; // the IPv4 address split at every "."
    std::string subnetMask {};
    std::string defaultGateway {}; // may be empty
    std::string dnsServer {}; // empty when none could be read
    // The system's name for the adapter ("eth0"); empty where the source has
    // none (the ipconfig report).
    std::string interfaceName {};

    friend bool operator==(const AdapterInfo&, const AdapterInfo&) = default;
};

inline constexpr std::int32_t kAdapterSlotCount = 8;

// The main window's adapter table. Collectors fill slot `count` and then
// increment it, so slots 0 to count - 1 are filled in the order the collector
// met the adapters. Nothing is ever written past the last slot: adapters that
// qualify once the table is full are ignored.
struct AdapterTable {
    std::array<AdapterInfo, kAdapterSlotCount> slots {};
    std::int32_t count = 0;
};

inline bool HasFreeSlot(const AdapterTable& table)
{
    return table.count >= 0 && table.count < kAdapterSlotCount;
}

// A way of filling the table (the ipconfig report parser, the platform's
// adapter list). The result tells whether the collector could run at all;
// callers judge the outcome by the table's count.
using AdapterCollector = std::function<bool(AdapterTable&)>;

} // namespace quill::netinfo
