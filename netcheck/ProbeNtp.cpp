#include "ProbeNtp.h"

#include "HostText.h"
#include "ProbeLog.h"
#include "SntpPacket.h"
#include "SocketWait.h"

#include <Poco/Net/DatagramSocket.h>
#include <Poco/Net/NetException.h>

#include <array>
#include <random>

namespace quill::netcheck {

namespace {

    // Seconds from 1900, where NTP time starts, to 1970, where the system
    // clock's starts.
    constexpr std::uint64_t kNtpEraOffsetSeconds = 2'208'988'800ULL;

    // Room for a reply with extension fields, so that it arrives whole.
    constexpr std::size_t kReplyBufferSize = 512;

    // The system clock in NTP seconds.
    double NtpNow()
    {
        const auto sinceEpoch
            = std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch());
        return sinceEpoch.count() + static_cast<double>(kNtpEraOffsetSeconds);
    }

    double Seconds(sntp::Timestamp stamp)
    {
        return static_cast<double>(stamp >> 32) + static_cast<double>(stamp & 0xFFFF'FFFFU) / 4294967296.0;
    }

    // The current second with a random fraction: the server echoes the stamp,
    // and the random part keeps a stray reply from passing as the answer.
    sntp::Timestamp MakeTransmitStamp()
    {
        std::random_device random;
        return (static_cast<std::uint64_t>(NtpNow()) << 32) | random();
    }

    NtpFacts ReadFacts(std::span<const std::uint8_t> reply, double sent, double received)
    {
        NtpFacts facts;
        const double serverReceive = Seconds(sntp::ReadTimestamp(reply, sntp::kReceiveOffset));
        const double serverTransmit = Seconds(sntp::ReadTimestamp(reply, sntp::kTransmitOffset));
        facts.offsetMs = ((serverReceive - sent) + (serverTransmit - received)) / 2 * 1000;
        facts.roundTripMs = ((received - sent) - (serverTransmit - serverReceive)) * 1000;
        facts.stratum = reply[sntp::kStratumOffset];
        const auto id = reply.subspan(sntp::kReferenceIdOffset, 4);
        // A primary server names its source in letters; others give an address.
        if (facts.stratum == 1)
            for (const std::uint8_t c : id)
                facts.referenceId += c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '\0';
        else
            facts.referenceId = std::to_string(id[0]) + '.' + std::to_string(id[1]) + '.'
                + std::to_string(id[2]) + '.' + std::to_string(id[3]);
        facts.referenceId.erase(facts.referenceId.find_last_not_of('\0') + 1);
        return facts;
    }

    // One request to server and the wait for its reply. The socket is
    // connected, so the kernel drops datagrams from any other sender and
    // reports a closed port. Replies that fail the checks are discarded and the
    // wait goes on, as a client does with stray or duplicate datagrams.
    ProbeOutcome ExchangeWith(const Poco::Net::SocketAddress& server, Clock::time_point deadline,
        const std::stop_token& stop, Clock::time_point start)
    {
        Poco::Net::DatagramSocket socket(server.family());
        const sntp::Timestamp transmit = MakeTransmitStamp();
        const sntp::Packet request = sntp::MakeClientRequest(transmit);
        std::array<std::uint8_t, kReplyBufferSize> reply {};
        try {
            socket.connect(server);
            const double sent = NtpNow();
            socket.sendBytes(request.data(), static_cast<int>(request.size()));
            for (;;) {
                if (const WaitEnd end = WaitForSocket(socket, Poco::Net::Socket::SELECT_READ, deadline, stop);
                    end != WaitEnd::Ready)
                    return { false, end == WaitEnd::Stopped ? ProbeReason::Cancelled : ProbeReason::NoAnswer,
                        Since(start), {} };
                const int size = socket.receiveBytes(reply.data(), static_cast<int>(reply.size()));
                const std::span<const std::uint8_t> answer(reply.data(), static_cast<std::size_t>(size));
                if (sntp::IsServerReply(answer, transmit))
                    return { true, ProbeReason::NtpReply, Since(start), {}, {},
                        ReadFacts(answer, sent, NtpNow()) };
            }
        } catch (const Poco::Net::ConnectionRefusedException&) {
            return { false, ProbeReason::Refused, Since(start), {} };
        } catch (const Poco::Exception& error) {
            return { false, ProbeReason::OtherError, Since(start), error.displayText() };
        }
    }

} // namespace

ProbeOutcome CheckNtp(const std::string& host, std::uint16_t port, std::chrono::milliseconds timeout,
    std::chrono::milliseconds lookupBound, std::stop_token stop)
{
    const auto start = Clock::now();
    // The text goes to the resolver only when it can name a host: never a
    // blank, a shell character or a second argument.
    if (!IsHostName(host) && !IsIpv6Literal(host))
        return { false, ProbeReason::NotAHost, Since(start), {} };
    const LookupResult servers = LookUp(host, port, true, lookupBound, stop);
    if (servers.addresses.empty()) {
        if (servers.failure != ProbeReason::Cancelled)
            LogUnresolvable(port, host);
        return { false, servers.failure, Since(start), {} };
    }
    // A name with several addresses: each address in turn gets an even share
    // of what is left of the time-out, so the whole probe stays within it.
    const auto deadline = Clock::now() + timeout;
    ProbeOutcome outcome { false, ProbeReason::NoAnswer, {}, std::to_string(timeout.count()) };
    for (std::size_t i = 0; i < servers.addresses.size() && !outcome.passed; ++i) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero() || outcome.reason == ProbeReason::Cancelled)
            break;
        outcome = ExchangeWith(servers.addresses[i],
            Clock::now() + left / static_cast<Clock::rep>(servers.addresses.size() - i), stop, start);
    }
    if (outcome.reason == ProbeReason::NoAnswer)
        outcome.detail = std::to_string(timeout.count());
    outcome.elapsed = Since(start);
    return outcome;
}

} // namespace quill::netcheck

bool ProbeNtp(std::string host, std::uint16_t port, std::chrono::milliseconds timeout)
{
    return quill::netcheck::CheckNtp(host, port, timeout).passed;
}
