#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

// The bytes of one SNTP exchange (a client request and the server's reply),
// kept apart from the sockets so the checks on a reply can be read and tested
// on their own.
namespace quill::netcheck::sntp {

inline constexpr std::size_t kPacketSize = 48;
using Packet = std::array<std::uint8_t, kPacketSize>;

// NTP time stamp: seconds since 1900 in the upper 32 bits, the fraction of a
// second in the lower 32.
using Timestamp = std::uint64_t;

// Byte offsets of the fields the exchange uses.
inline constexpr std::size_t kModeOffset = 0;
inline constexpr std::size_t kStratumOffset = 1;
inline constexpr std::size_t kReferenceIdOffset = 12;
inline constexpr std::size_t kOriginateOffset = 24;
inline constexpr std::size_t kReceiveOffset = 32;
inline constexpr std::size_t kTransmitOffset = 40;

inline constexpr std::uint8_t kModeClient = 3;
inline constexpr std::uint8_t kModeServer = 4;
inline constexpr std::uint8_t kVersion = 4;
inline constexpr std::uint8_t kLeapAlarm = 3;

// A client request (version 4, mode 3) carrying transmit as its transmit time
// stamp; a server echoes it in the originate field of its reply.
Packet MakeClientRequest(Timestamp transmit);

// What a datagram is to the request that carried transmit.
enum class ReplyKind {
    Usable,
    Stray, // too short, not from a server, not an answer to this request, no time in it
    Unsynchronised, // leap indicator 3: the server has no time to give
    KissOfDeath, // stratum 0: the server refuses us; its code is in the reference id
    BadStratum, // stratum 16 or above
};

// A usable server reply: at least 48 bytes, server mode, the originate field
// equal to transmit, a stratum from 1 to 15, a synchronised clock (leap
// indicator not 3) and a non-zero transmit time stamp. An answer to this
// request that fails only on stratum or leap is named for it.
ReplyKind ClassifyReply(std::span<const std::uint8_t> reply, Timestamp transmit);

inline bool IsServerReply(std::span<const std::uint8_t> reply, Timestamp transmit)
{
    return ClassifyReply(reply, transmit) == ReplyKind::Usable;
}

Timestamp ReadTimestamp(std::span<const std::uint8_t> packet, std::size_t offset);
void WriteTimestamp(std::span<std::uint8_t> packet, std::size_t offset, Timestamp value);

} // namespace quill::netcheck::sntp
