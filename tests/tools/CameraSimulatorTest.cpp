#include "FreePort.h"
#include "Simulator.h"
#include "SimulatorOptions.h"

#include <gtest/gtest.h>

#include <poll.h>

#include <thread>

namespace {

using namespace quill::camsim;
namespace asio = boost::asio;
using asio::ip::udp;
using Args = std::vector<std::string>;

TEST(CameraSimulatorOptions, HelpRefusalsAndSettings)
{
    EXPECT_EQ(ParseCommandLine({ "--help" }).exitCode, 0);
    for (const Args& bad :
        { Args {}, Args { "--bind" }, Args { "--bind", "300.1.1.1" }, Args { "--range", "10.0.0.9-10.0.0.1" },
            Args { "--range", "10.0.0.0-10.0.8.0" }, Args { "--bind", "10.0.0.1", "--delay", "-5" },
            Args { "--bind", "10.0.0.1", "--malformed", "x" } })
        EXPECT_EQ(ParseCommandLine(bad).exitCode, 2) << (bad.empty() ? "(none)" : bad.back());
    // A range may cross a /24 boundary; --bind adds to it.
    const auto parsed = ParseCommandLine({ "--range", "198.18.0.255-198.18.1.0", "--bind", "198.18.5.5",
        "--listen-port", "4000", "--delay", "25", "--answer-by-broadcast" });
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->addresses, (Args { "198.18.0.255", "198.18.1.0", "198.18.5.5" }));
    EXPECT_EQ(parsed.options->listenPort, 4000);
    EXPECT_EQ(parsed.options->delay.count(), 25);
    EXPECT_TRUE(parsed.options->answerByBroadcast && !parsed.options->answerBroadcast);
}

// A querying "PC" on 127.0.0.1 and simulated cameras on other loopback
// addresses: each camera answers its own and the broadcast query from its own
// address, ignores anything else, and sends the broken answers after the proper one.
TEST(CameraSimulatorLoopback, CamerasAnswerQueriesToTheirOwnAndTheBroadcastAddress)
{
    asio::io_context io;
    udp::socket pc { io, udp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0) };
    SimulatorOptions options;
    options.addresses = { "127.0.0.2", "127.0.0.3" };
    options.answerBroadcast = true;
    options.listenPort = quill::test::FreeUdpPort();
    options.answerPort = pc.local_endpoint().port();
    options.malformed = { MalformedKind::ExtraToken, MalformedKind::Oversize };
    Simulator simulator(options);
    simulator.bind();
    std::thread serving([&] { simulator.run(); });
    const auto query = [&](const std::string& address, const std::string& payload) {
        pc.send_to(
            asio::buffer(payload), udp::endpoint(asio::ip::make_address_v4(address), options.listenPort));
    };
    const auto receive = [&](std::size_t count) {
        std::vector<std::pair<std::string, std::string>> received;
        for (pollfd fd { pc.native_handle(), POLLIN, 0 };
             received.size() < count && ::poll(&fd, 1, 2000) > 0;) {
            std::array<char, 1024> buffer {};
            udp::endpoint sender;
            const auto size = pc.receive_from(asio::buffer(buffer), sender);
            received.emplace_back(sender.address().to_string(), std::string(buffer.data(), size));
        }
        return received;
    };
    query("127.0.0.2", "updatex");
    query("127.0.0.3", "update");
    const auto answers = receive(3);
    ASSERT_EQ(answers.size(), 3u);
    const std::string proper = "127.0.0.3 SIM000002 02-00-7F-00-00-03 SimCam-2 1.0.2";
    EXPECT_EQ(answers[0], std::make_pair(std::string("127.0.0.3"), proper));
    EXPECT_EQ(answers[1].second, proper + " extra");
    EXPECT_EQ(answers[2].second.size(), 600u);
    query("127.0.0.255", "update");
    EXPECT_EQ(receive(6).size(), 6u);
    simulator.stop();
    serving.join();
}

} // namespace
