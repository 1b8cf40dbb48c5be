#include "DiscoverySweep.h"

#include "DiscoveryProtocol.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

namespace quill::discovery {

namespace asio = boost::asio;
using asio::ip::udp;

namespace {

    void CountFailure(
        SweepOutcome& outcome, int count, const boost::system::error_code& error, const std::string& target)
    {
        if (outcome.failed == 0) {
            outcome.firstError = target.empty() ? error.message() : target + ": " + error.message();
            outcome.firstErrorCode = error;
        }
        outcome.failed += count;
    }

    boost::system::error_code SendToLimitedBroadcast(const Ipv4Octets& adapterAddress, std::uint16_t port)
    {
        asio::io_context io;
        udp::socket socket(io);
        boost::system::error_code error;
        socket.open(udp::v4(), error);
        // Bound to the adapter's address, the kernel sends 255.255.255.255 out
        // of the interface that owns it, and of no other.
        if (!error)
            socket.bind(udp::endpoint(asio::ip::address_v4(adapterAddress), 0), error);
        if (!error)
            socket.set_option(asio::socket_base::broadcast(true), error);
        if (!error)
            socket.send_to(asio::buffer(kQueryPayload.data(), kQueryPayload.size()),
                udp::endpoint(asio::ip::address_v4::broadcast(), port), 0, error);
        return error;
    }

} // namespace

SweepOutcome SendQueries(const Ipv4Octets& begin, const Ipv4Octets& end, std::uint16_t port,
    const std::optional<Ipv4Octets>& adapterAddress)
{
    SweepOutcome outcome;
    // Wider than 8 bits, so that an end of 255 is swept and the loop still ends.
    const int first = begin[3];
    const int last = end[3];
    if (first > last)
        return outcome;
    outcome.attempted = last - first + 1;

    asio::io_context io;
    udp::socket socket(io);
    boost::system::error_code error;
    socket.open(udp::v4(), error);
    if (!error)
        socket.bind(udp::endpoint(asio::ip::address_v4::any(), 0), error);
    if (!error)
        socket.set_option(asio::socket_base::broadcast(true), error);
    const bool socketReady = !error;
    if (!socketReady)
        CountFailure(outcome, outcome.attempted, error, {});

    for (int host = first; socketReady && host <= last; ++host) {
        const Ipv4Octets target { begin[0], begin[1], begin[2], static_cast<std::uint8_t>(host) };
        socket.send_to(asio::buffer(kQueryPayload.data(), kQueryPayload.size()),
            udp::endpoint(asio::ip::address_v4(target), port), 0, error);
        if (error)
            CountFailure(outcome, 1, error, FormatIpv4(target));
    }

    if (adapterAddress && last == 255) {
        outcome.limitedBroadcastTried = true;
        outcome.limitedBroadcastError = SendToLimitedBroadcast(*adapterAddress, port);
    }
    return outcome;
}

} // namespace quill::discovery
