#include "ProbeNtp.h"

#include "HostText.h"
#include "ProbeGuard.h"
#include "ProbeLog.h"
#include "SntpPacket.h"
#include "SocketWait.h"

#include <Poco/Net/DatagramSocket.h>
#include <Poco/Net/NetException.h>

#include <array>
#include <cmath>
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

    // The failure an unusable answer to our request names, when no usable one follows.
    ProbeOutcome Unusable(sntp::ReplyKind kind, std::span<const std::uint8_t> reply)
    {
        switch (kind) {
        case sntp::ReplyKind::Unsynchronised:
            return { false, ProbeReason::NtpUnsynchronised };
        case sntp::ReplyKind::KissOfDeath: {
            std::string code;
            for (const std::uint8_t c : reply.subspan(sntp::kReferenceIdOffset, 4))
                if (c >= 0x20 && c < 0x7f)
                    code += static_cast<char>(c);
            return { false, ProbeReason::NtpKissOfDeath, {}, code };
        }
        case sntp::ReplyKind::BadStratum:
            return { false, ProbeReason::NtpBadStratum, {}, std::to_string(reply[sntp::kStratumOffset]) };
        default:
            return { false, ProbeReason::NoAnswer };
        }
    }

    // One request to server and the wait for its reply. The socket is
    // connected, so the kernel drops datagrams from any other sender and
    // reports a closed port. Replies that fail the checks are discarded and the
    // wait goes on, as a client does with stray or duplicate datagrams; the
    // last answer to our request that was unusable names the failure.
    ProbeOutcome ExchangeWith(
        const Poco::Net::SocketAddress& server, Clock::time_point deadline, const std::stop_token& stop)
    {
        const sntp::Timestamp transmit = MakeTransmitStamp();
        const sntp::Packet request = sntp::MakeClientRequest(transmit);
        std::array<std::uint8_t, kReplyBufferSize> reply {};
        ProbeOutcome unusable { false, ProbeReason::NoAnswer };
        try {
            Poco::Net::DatagramSocket socket(server.family());
            socket.connect(server);
            const double sent = NtpNow();
            socket.sendBytes(request.data(), static_cast<int>(request.size()));
            for (;;) {
                if (const WaitEnd end = WaitForSocket(socket, Poco::Net::Socket::SELECT_READ, deadline, stop);
                    end != WaitEnd::Ready)
                    return end == WaitEnd::Stopped ? ProbeOutcome { false, ProbeReason::Cancelled }
                                                   : unusable;
                const int size = socket.receiveBytes(reply.data(), static_cast<int>(reply.size()));
                const std::span<const std::uint8_t> answer(reply.data(), static_cast<std::size_t>(size));
                const sntp::ReplyKind kind = sntp::ClassifyReply(answer, transmit);
                if (kind == sntp::ReplyKind::Usable) {
                    ProbeOutcome outcome { true, ProbeReason::NtpReply, {}, {}, {},
                        ReadFacts(answer, sent, NtpNow()) };
                    if (std::abs(outcome.ntp->offsetMs) > kClockOffsetWarningMs)
                        outcome.warning = ProbeWarning::ClockOffset;
                    return outcome;
                }
                if (kind != sntp::ReplyKind::Stray)
                    unusable = Unusable(kind, answer);
            }
        } catch (const Poco::Net::ConnectionRefusedException&) {
            // Nothing serves time there.
            return { false, ProbeReason::Refused };
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
        return { false, ProbeReason::NotAHost, Since(start), {}, {}, {}, host, {}, {}, port };
    const LookupResult servers = LookUp(host, port, true, lookupBound, stop);
    if (servers.addresses.empty()) {
        if (servers.failure != ProbeReason::Cancelled)
            LogUnresolvable(port, host);
        return { false, servers.failure, Since(start), servers.detail, {}, {}, host, {}, {}, port };
    }
    // A name with several addresses: each address in turn gets an even share
    // of what is left of the time-out, so the whole probe stays within it.
    // The first address's outcome stands unless a later one does better or
    // names why it failed where the first was silent.
    const auto deadline = Clock::now() + timeout;
    ProbeOutcome outcome { false, ProbeReason::NoAnswer };
    for (std::size_t i = 0; i < servers.addresses.size() && !outcome.passed; ++i) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero() || outcome.reason == ProbeReason::Cancelled)
            break;
        const Poco::Net::SocketAddress& address = servers.addresses[i];
        ProbeOutcome tried = GuardedProbe([&] {
            return ExchangeWith(
                address, Clock::now() + left / static_cast<Clock::rep>(servers.addresses.size() - i), stop);
        });
        tried.address = address.host().toString();
        if (i == 0 || tried.passed || tried.reason == ProbeReason::Cancelled
            || outcome.reason == ProbeReason::NoAnswer)
            outcome = std::move(tried);
    }
    if (outcome.reason == ProbeReason::NoAnswer)
        outcome.detail = std::to_string(timeout.count());
    outcome.elapsed = Since(start);
    outcome.host = host;
    outcome.port = port;
    return outcome;
}

} // namespace quill::netcheck

bool ProbeNtp(std::string host, std::uint16_t port, std::chrono::milliseconds timeout)
{
    return quill::netcheck::CheckNtp(host, port, timeout).passed;
}
