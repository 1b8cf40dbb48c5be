#pragma once

#include <cstdint>
#include <string>

namespace quill::netcheck {

// The warning for a host that cannot be turned into an address, in the style of
// the port probe's time-out record: port:%d host "%s" cannot be resolved.
void LogUnresolvable(std::int32_t port, const std::string& host);

} // namespace quill::netcheck
