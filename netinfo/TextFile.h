#pragma once

#include <optional>
#include <string>

namespace quill::netinfo {

// The whole content of a small system file (routing table, resolver
// configuration); nullopt when it cannot be read. Files under /proc report a
// size of 0, so this reads to the end instead of trusting the size.
std::optional<std::string> ReadTextFile(const std::string& path);

} // namespace quill::netinfo
