#include "ProbeNtp.h"

#include "HostText.h"
#include "ProbeLog.h"
#include "SntpPacket.h"

#include <boost/asio/buffer.hpp>
#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <array>
#include <functional>
#include <random>
#include <vector>

namespace {

using boost::asio::ip::udp;
namespace sntp = quill::netcheck::sntp;
using Clock = std::chrono::steady_clock;

// Seconds from 1900, where NTP time starts, to 1970, where the system clock's
// starts.
constexpr std::uint64_t kNtpEraOffsetSeconds = 2'208'988'800ULL;

// Room for a reply with extension fields, so that it arrives whole.
constexpr std::size_t kReplyBufferSize = 512;

// The current time with a random fraction: the server echoes the stamp, and
// the random part keeps a stray reply from passing as the answer.
sntp::Timestamp MakeTransmitStamp()
{
    const auto sinceEpoch = std::chrono::system_clock::now().time_since_epoch();
    const auto seconds
        = static_cast<std::uint64_t>(std::chrono::floor<std::chrono::seconds>(sinceEpoch).count());
    std::random_device random;
    const std::uint32_t fraction = random();
    return ((seconds + kNtpEraOffsetSeconds) << 32) | fraction;
}

std::vector<udp::endpoint> Resolve(const std::string& host, std::uint16_t port)
{
    boost::asio::io_context io;
    udp::resolver resolver(io);
    boost::system::error_code error;
    // No address_configured flag: it hides every address when only loopback
    // is up.
    const auto results = resolver.resolve(host, std::to_string(port), udp::resolver::numeric_service, error);
    std::vector<udp::endpoint> endpoints;
    if (error)
        return endpoints;
    for (const auto& entry : results)
        endpoints.push_back(entry.endpoint());
    return endpoints;
}

// One request to server and the wait for its reply. The socket is connected,
// so the kernel drops datagrams from any other sender and reports a closed
// port at once. Replies that fail the checks are discarded and the wait goes
// on, as a client does with stray or duplicate datagrams.
bool ExchangeWith(const udp::endpoint& server, Clock::duration budget)
{
    // A fresh context per exchange: handlers left over from an earlier
    // exchange must never run against this one's buffers.
    boost::asio::io_context io;
    udp::socket socket(io);
    boost::system::error_code error;
    socket.connect(server, error);
    if (error)
        return false;

    const sntp::Timestamp transmit = MakeTransmitStamp();
    const sntp::Packet request = sntp::MakeClientRequest(transmit);
    socket.send(boost::asio::buffer(request), 0, error);
    if (error)
        return false;

    std::array<std::uint8_t, kReplyBufferSize> reply {};
    bool accepted = false;
    std::function<void()> receiveNext = [&] {
        socket.async_receive(
            boost::asio::buffer(reply), [&](const boost::system::error_code& receiveError, std::size_t size) {
                if (receiveError)
                    return;
                if (sntp::IsServerReply(std::span<const std::uint8_t>(reply.data(), size), transmit)) {
                    accepted = true;
                    return;
                }
                receiveNext();
            });
    };
    receiveNext();
    io.run_for(budget);
    return accepted;
}

} // namespace

bool ProbeNtp(std::string host, std::uint16_t port, std::chrono::milliseconds timeout)
{
    // The text goes to the resolver only when it can name a host: never a
    // blank, a shell character or a second argument.
    if (!quill::netcheck::IsHostName(host) && !quill::netcheck::IsIpv6Literal(host))
        return false;

    const std::vector<udp::endpoint> servers = Resolve(host, port);
    if (servers.empty()) {
        quill::netcheck::LogUnresolvable(port, host);
        return false;
    }
    // A name with several addresses: each address in turn gets an even share
    // of what is left of the time-out, so the whole probe stays within it.
    const auto deadline = Clock::now() + timeout;
    for (std::size_t i = 0; i < servers.size(); ++i) {
        const auto left = deadline - Clock::now();
        if (left <= Clock::duration::zero())
            break;
        const auto share = left / static_cast<Clock::rep>(servers.size() - i);
        if (ExchangeWith(servers[i], share))
            return true;
    }
    return false;
}
