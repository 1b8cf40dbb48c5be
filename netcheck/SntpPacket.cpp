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

bool IsServerReply(std::span<const std::uint8_t> reply, Timestamp transmit)
{
    if (reply.size() < kPacketSize)
        return false;
    const std::uint8_t first = reply[kModeOffset];
    if (Mode(first) != kModeServer || LeapIndicator(first) == kLeapAlarm)
        return false;
    // Stratum 0 is a "kiss of death" (the server refuses us), 16 and above an
    // unsynchronised server.
    const std::uint8_t stratum = reply[kStratumOffset];
    if (stratum < 1 || stratum > 15)
        return false;
    // The echo of our transmit stamp ties the reply to this request.
    if (ReadTimestamp(reply, kOriginateOffset) != transmit)
        return false;
    return ReadTimestamp(reply, kTransmitOffset) != 0;
}

} // namespace quill::netcheck::sntp
