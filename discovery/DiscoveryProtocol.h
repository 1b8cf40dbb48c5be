#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// The camera discovery exchange: a fixed query word sent to each address, and
// a one-line text answer of five space-separated fields coming back.
namespace quill::discovery {

// Destination port of every query and the local port answers arrive on.
inline constexpr std::uint16_t kDiscoveryPort = 1334;

// The whole query datagram: these 6 bytes, no terminating zero, no line break.
inline constexpr std::string_view kQueryPayload = "update";

// At most this many bytes of one answer datagram are read.
inline constexpr std::size_t kAnswerBufferSize = 500;

// Shorter answer texts are ignored; among others this drops our own query
// when a broadcast query loops back to our port.
inline constexpr std::size_t kShortestAnswerLength = 7;

// The only separator between answer fields; there is no quoting.
inline constexpr char kTokenSeparator = ' ';

// An answer splits into exactly this many fields.
inline constexpr std::size_t kTokenCount = 5;

} // namespace quill::discovery
