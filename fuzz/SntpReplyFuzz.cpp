// The SNTP reply check. Input: our transmit stamp (8 bytes), then the reply. A reply answers one
// request, its first 48 bytes alone count, our request is no reply, a reply made valid is taken.
#include "FuzzSupport.h"
#include "SntpPacket.h"

using namespace quill::netcheck::sntp;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 8)
        return 0;
    const Timestamp transmit = ReadTimestamp(std::span(data, 8), 0);
    const std::span<const std::uint8_t> reply(data + 8, size - 8);
    const bool accepted = IsServerReply(reply, transmit);
    QUILL_FUZZ_CHECK(!accepted || (reply.size() >= kPacketSize && !IsServerReply(reply, transmit + 1)));
    QUILL_FUZZ_CHECK(
        reply.size() < kPacketSize || IsServerReply(reply.first(kPacketSize), transmit) == accepted);
    const Packet request = MakeClientRequest(transmit);
    QUILL_FUZZ_CHECK(
        ReadTimestamp(request, kTransmitOffset) == transmit && !IsServerReply(request, transmit));

    // Server mode without alarm, a stratum, the echo of our stamp and a time.
    std::vector<std::uint8_t> proper(reply.begin(), reply.end());
    proper.resize(std::max(proper.size(), kPacketSize));
    proper[kModeOffset] = static_cast<std::uint8_t>((proper[kModeOffset] & 0x38) | kModeServer);
    proper[kStratumOffset] = static_cast<std::uint8_t>(1 + proper[kStratumOffset] % 15);
    WriteTimestamp(proper, kOriginateOffset, transmit);
    proper[kTransmitOffset + 7] |= 1;
    QUILL_FUZZ_CHECK(IsServerReply(proper, transmit));
    return 0;
}
