#pragma once

#include "DiscoverySweep.h"

#include <filesystem>

namespace quill::discovery {

// How many addresses of the range the kernel's neighbour table (the text of
// /proc/net/arp; readable without root) holds as having answered ARP (flag
// 0x2). An unreadable table counts none.
int CountArpAnswered(const std::filesystem::path& table, const Ipv4Octets& begin, const Ipv4Octets& end);

} // namespace quill::discovery
