#include "DiscoverySweep.h"

#include "DiscoveryProtocol.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>
#include <boost/format.hpp>

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

} // namespace

SweepOutcome SendQueries(const Ipv4Octets& begin, const Ipv4Octets& end, std::uint16_t port)
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
    if (error) {
        CountFailure(outcome, outcome.attempted, error, {});
        return outcome;
    }

    for (int host = first; host <= last; ++host) {
        const std::string text
            = (boost::format("%d.%d.%d.%d") % int(begin[0]) % int(begin[1]) % int(begin[2]) % host).str();
        const auto target = asio::ip::make_address_v4(text, error);
        if (!error)
            socket.send_to(asio::buffer(kQueryPayload.data(), kQueryPayload.size()),
                udp::endpoint(target, port), 0, error);
        if (error)
            CountFailure(outcome, 1, error, text);
    }
    return outcome;
}

} // namespace quill::discovery
