#pragma once

#include <cstdint>

namespace quill::test {

// A UDP port of 127.0.0.1 that was free a moment ago (bound on port 0, then
// released), for tests that must name their ports before binding them.
std::uint16_t FreeUdpPort();

} // namespace quill::test
