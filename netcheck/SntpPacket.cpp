#include "SntpPacket.h"

namespace quill::netcheck::sntp {

namespace {

    constexpr std::size_t kTimestampSize = 8;

    std::uint8_t LeapIndicator(std::uint8_t first)
    {
        return static_cast<std::uint8_t>(first >> 6);
    }
    std::uint8_t Mode(std::uint8_t first)
    {
        return static_cast<std::uint8_t>(first & 0x07);
    }

} // namespace

Timestamp ReadTimestamp(std::span<const std::uint8_t> packet, std::size_t offset)
{
    Timestamp value = 0;
    for (std::size_t i = 0; i < kTimestampSize; ++i)
        value = (value << 8) | packet[offset + i];
    return value;
}

void WriteTimestamp(std::span<std::uint8_t> packet, std::size_t offset, Timestamp value)
{
    for (std::size_t i = 0; i < kTimestampSize; ++i)
        packet[offset + kTimestampSize - 1 - i] = static_cast<std::uint8_t>(value >> (8 * i));
}

Packet MakeClientRequest(Timestamp transmit)
{
    Packet request {};
    request[kModeOffset] = static_cast<std::uint8_t>((kVersion << 3) | kModeClient);
    WriteTimestamp(request, kTransmitOffset, transmit);
    return request;
}

ReplyKind ClassifyReply(std::span<const std::uint8_t> reply, Timestamp transmit)
{
    if (reply.size() < kPacketSize)
        return ReplyKind::Stray;
    const std::uint8_t first = reply[kModeOffset];
    // The echo of our transmit stamp ties the reply to this request.
    if (Mode(first) != kModeServer || ReadTimestamp(reply, kOriginateOffset) != transmit)
        return ReplyKind::Stray;
    // A kiss-o'-death also says leap 3: its stratum names it first.
    const std::uint8_t stratum = reply[kStratumOffset];
    if (stratum == 0)
        return ReplyKind::KissOfDeath;
    if (LeapIndicator(first) == kLeapAlarm)
        return ReplyKind::Unsynchronised;
    if (stratum > 15)
        return ReplyKind::BadStratum;
    return ReadTimestamp(reply, kTransmitOffset) != 0 ? ReplyKind::Usable : ReplyKind::Stray;
}

} // namespace quill::netcheck::sntp
