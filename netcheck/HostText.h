#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Checks on host texts typed by a user, made before any of them reaches a
// resolver, a URI or a socket.
namespace quill::netcheck {

// Longest host name DNS can carry in text form.
inline constexpr std::size_t kMaxHostNameLength = 253;

// A DNS host name or a dotted IPv4 address: letters, digits, '.', '-' and '_'
// only, 1 to 253 bytes.
bool IsHostName(std::string_view text);

// An IPv6 address as a resolver takes it (no brackets): hexadecimal digits,
// ':' and '.', with at least one ':', optionally followed by '%' and a zone
// name.
bool IsIpv6Literal(std::string_view text);

// The text with every control byte replaced by '?', so that a host text put
// into a log record keeps the record on one line.
std::string PrintableForLog(std::string_view text);

} // namespace quill::netcheck
