#include "FreePort.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

namespace quill::test {

std::uint16_t FreeUdpPort()
{
    namespace asio = boost::asio;
    asio::io_context io;
    asio::ip::udp::socket probe(io, asio::ip::udp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0));
    return probe.local_endpoint().port();
}

} // namespace quill::test
