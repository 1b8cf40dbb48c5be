#include "AnswerSocket.h"
#include "DiscoverySweep.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <gtest/gtest.h>

#include <poll.h>

#include <chrono>
#include <future>
#include <set>
#include <thread>

namespace {

using namespace quill::discovery;
namespace asio = boost::asio;
using asio::ip::udp;

// A plain receiver on 0.0.0.0: every 127.0.0.x reaches it over loopback.
struct QueryCollector {
    QueryCollector()
        : socket(io, udp::endpoint(udp::v4(), 0))
    {
        socket.set_option(asio::socket_base::receive_buffer_size(4 * 1024 * 1024));
    }
    std::uint16_t port() const { return socket.local_endpoint().port(); }

    std::vector<std::pair<udp::endpoint, std::string>> collect(std::size_t atMost, int waitMs = 500)
    {
        std::vector<std::pair<udp::endpoint, std::string>> received;
        while (received.size() < atMost) {
            pollfd fd { socket.native_handle(), POLLIN, 0 };
            if (::poll(&fd, 1, waitMs) <= 0)
                break;
            std::array<char, 64> buffer {};
            udp::endpoint sender;
            const auto size = socket.receive_from(asio::buffer(buffer), sender);
            received.emplace_back(sender, std::string(buffer.data(), size));
        }
        return received;
    }

    asio::io_context io;
    udp::socket socket;
};

TEST(DiscoverySweep, WholeNetworkSendsOneQueryPerAddressFromOnePort)
{
    QueryCollector collector;
    const auto outcome = SendQueries({ 127, 0, 0, 0 }, { 127, 0, 0, 255 }, collector.port());
    EXPECT_EQ(outcome.attempted, 256);
    EXPECT_EQ(outcome.failed, 0) << outcome.firstError;

    const auto received = collector.collect(300);
    ASSERT_EQ(received.size(), 256u);
    std::set<std::uint16_t> sourcePorts;
    for (const auto& [sender, payload] : received) {
        EXPECT_EQ(payload, "update");
        sourcePorts.insert(sender.port());
    }
    EXPECT_EQ(sourcePorts.size(), 1u);
}

TEST(DiscoverySweep, RangeBoundsDecideTheQueryCount)
{
    QueryCollector collector;
    EXPECT_EQ(SendQueries({ 127, 0, 0, 9 }, { 127, 0, 0, 9 }, collector.port()).attempted, 1);
    EXPECT_EQ(collector.collect(5).size(), 1u);

    // Only the end's last octet counts: its first three octets are not used.
    EXPECT_EQ(SendQueries({ 127, 0, 0, 250 }, { 10, 1, 2, 255 }, collector.port()).attempted, 6);
    EXPECT_EQ(collector.collect(10).size(), 6u);

    const auto none = SendQueries({ 127, 0, 0, 200 }, { 127, 0, 0, 100 }, collector.port());
    EXPECT_EQ(none.attempted, 0);
    EXPECT_EQ(none.failed, 0);
    EXPECT_TRUE(collector.collect(1, 100).empty());
}

TEST(DiscoverySweep, UnreachableNetworkIsCountedNotThrown)
{
    // In the test's private network namespace only loopback exists: no route
    // leads to this test network, so every send fails and is counted.
    const auto outcome = SendQueries({ 198, 18, 7, 0 }, { 198, 18, 7, 3 }, 9);
    if (outcome.failed == 0)
        GTEST_SKIP() << "a route to 198.18.7.0/24 exists here; run the tests in a private network namespace";
    EXPECT_EQ(outcome.attempted, 4);
    EXPECT_EQ(outcome.failed, 4);
    EXPECT_FALSE(outcome.firstError.empty());
}

TEST(AnswerSocket, SecondHolderOfThePortFailsToBind)
{
    AnswerSocket first(0);
    EXPECT_GT(first.grantedReceiveBuffer(), 0);
    EXPECT_THROW(AnswerSocket second(first.port()), boost::system::system_error);
}

TEST(AnswerSocket, LongDatagramIsCutAndStopWakesTheReceiver)
{
    AnswerSocket answers(0);
    asio::io_context io;
    udp::socket sender(io, udp::endpoint(udp::v4(), 0));
    const udp::endpoint target(asio::ip::make_address_v4("127.0.0.1"), answers.port());
    sender.send_to(asio::buffer(std::string(600, 'a')), target);
    sender.send_to(asio::buffer(std::string(500, 'b')), target);

    std::array<char, kAnswerBufferSize> buffer {};
    EXPECT_EQ(answers.receive(buffer), std::optional<std::size_t>(500));
    EXPECT_EQ(buffer[499], 'a');
    EXPECT_EQ(answers.receive(buffer), std::optional<std::size_t>(500));
    EXPECT_EQ(buffer[0], 'b');

    auto blocked = std::async(std::launch::async, [&] { return answers.receive(buffer); });
    EXPECT_EQ(blocked.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    answers.stop();
    ASSERT_EQ(blocked.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_FALSE(blocked.get());
}

} // namespace
