#include "CameraAnswer.h"
#include "FreePort.h"
#include "Simulator.h"
#include "SimulatorOptions.h"

#include <boost/asio/io_context.hpp>
#include <boost/asio/ip/udp.hpp>

#include <gtest/gtest.h>

#include <poll.h>

#include <algorithm>
#include <thread>

namespace {

using namespace quill::camsim;
namespace asio = boost::asio;
using asio::ip::udp;

int TokenCount(const std::string& text)
{
    return static_cast<int>(std::count(text.begin(), text.end(), ' ')) + 1;
}

TEST(CameraSimulatorOptions, HelpRefusalsAndSettings)
{
    const auto help = ParseCommandLine({ "--help" });
    EXPECT_FALSE(help.options);
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.message.find("--broadcast"), std::string::npos);

    using Args = std::vector<std::string>;
    const Args refused[] { {}, { "--bogus" }, { "--bind" }, { "--bind", "300.1.1.1" },
        { "--range", "10.0.0.9-10.0.0.1" }, { "--range", "10.0.0.0-10.0.8.0" },
        { "--bind", "10.0.0.1", "--listen-port", "0" }, { "--bind", "10.0.0.1", "--delay", "-5" },
        { "--bind", "10.0.0.1", "--malformed", "short,nonsense" } };
    for (const Args& bad : refused) {
        const auto parsed = ParseCommandLine(bad);
        EXPECT_FALSE(parsed.options) << (bad.empty() ? "(none)" : bad.back());
        EXPECT_EQ(parsed.exitCode, 2);
    }

    // A range may cross a /24 boundary; --bind adds to it.
    const auto parsed
        = ParseCommandLine({ "--range", "198.18.0.254-198.18.1.1", "--bind", "198.18.5.5", "--listen-port",
            "4000", "--answer-port", "4001", "--delay", "25", "--broadcast", "--malformed", "short,binary" });
    ASSERT_TRUE(parsed.options);
    EXPECT_EQ(parsed.options->addresses,
        (Args { "198.18.0.254", "198.18.0.255", "198.18.1.0", "198.18.1.1", "198.18.5.5" }));
    EXPECT_EQ(parsed.options->listenPort, 4000);
    EXPECT_EQ(parsed.options->answerPort, 4001);
    EXPECT_EQ(parsed.options->delay.count(), 25);
    EXPECT_TRUE(parsed.options->answerBroadcast);
    EXPECT_EQ(parsed.options->malformed,
        (std::vector<MalformedKind> { MalformedKind::Short, MalformedKind::Binary }));
}

TEST(CameraAnswer, PatternsFillInTheCameraNumberAndAddress)
{
    SimulatorOptions options;
    options.fwPattern = "v{n}-{ip}";
    options.snPattern = "{n:06}{n}";
    EXPECT_EQ(
        BuildAnswer(options, 12, "10.0.0.1"), "10.0.0.1 00001212 02-00-0A-00-00-01 SimCam-12 v12-10.0.0.1");
}

// A querying "PC" on 127.0.0.1 and simulated cameras on other loopback addresses.
class CameraSimulatorLoopback : public ::testing::Test {
protected:
    ~CameraSimulatorLoopback() override
    {
        if (m_simulator)
            m_simulator->stop();
        if (m_thread.joinable())
            m_thread.join();
    }

    void Start(SimulatorOptions options)
    {
        options.listenPort = m_listenPort;
        options.answerPort = m_pc.local_endpoint().port();
        m_simulator = std::make_unique<Simulator>(std::move(options));
        m_simulator->bind();
        m_thread = std::thread([this] { m_simulator->run(); });
    }

    void Query(const std::string& address, const std::string& payload = "update")
    {
        m_pc.send_to(asio::buffer(payload), udp::endpoint(asio::ip::make_address_v4(address), m_listenPort));
    }

    // Datagrams that arrive within the wait, with their sender addresses.
    std::vector<std::pair<std::string, std::string>> Receive(int wantedCount, int waitMs = 2000)
    {
        std::vector<std::pair<std::string, std::string>> received;
        while (static_cast<int>(received.size()) < wantedCount) {
            pollfd fd { m_pc.native_handle(), POLLIN, 0 };
            if (::poll(&fd, 1, waitMs) <= 0)
                break;
            std::array<char, 1024> buffer {};
            udp::endpoint sender;
            const auto size = m_pc.receive_from(asio::buffer(buffer), sender);
            received.emplace_back(sender.address().to_string(), std::string(buffer.data(), size));
        }
        return received;
    }

    asio::io_context m_io;
    udp::socket m_pc { m_io, udp::endpoint(asio::ip::make_address_v4("127.0.0.1"), 0) };
    const std::uint16_t m_listenPort = quill::test::FreeUdpPort();
    std::unique_ptr<Simulator> m_simulator;
    std::thread m_thread;
};

TEST_F(CameraSimulatorLoopback, EachCameraAnswersItsOwnAndTheBroadcastQueryFromItsOwnAddress)
{
    SimulatorOptions options;
    options.addresses = { "127.0.0.2", "127.0.0.3" };
    options.answerBroadcast = true;
    options.delay = std::chrono::milliseconds(20);
    Start(options);

    Query("127.0.0.3");
    const auto answers = Receive(1);
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].first, "127.0.0.3");
    EXPECT_EQ(answers[0].second, "127.0.0.3 SIM000002 02-00-7F-00-00-03 SimCam-2 1.0.2");

    Query("127.0.0.2", "updatex");
    Query("127.0.0.2", "hello");
    EXPECT_TRUE(Receive(1, 200).empty());

    Query("127.0.0.255");
    auto broadcast = Receive(2);
    ASSERT_EQ(broadcast.size(), 2u);
    std::sort(broadcast.begin(), broadcast.end());
    EXPECT_EQ(broadcast[0].first, "127.0.0.2");
    EXPECT_EQ(broadcast[1].first, "127.0.0.3");
    // The count follows the send on the simulator's thread: wait for it, bounded.
    for (int i = 0; i < 200 && m_simulator->answersSent() < 3u; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    EXPECT_EQ(m_simulator->answersSent(), 3u);
}

TEST_F(CameraSimulatorLoopback, MalformedAnswersFollowTheProperOne)
{
    SimulatorOptions options;
    options.addresses = { "127.0.0.4" };
    options.malformed = { MalformedKind::Short, MalformedKind::ExtraToken, MalformedKind::MissingToken,
        MalformedKind::Oversize, MalformedKind::Binary };
    Start(options);

    Query("127.0.0.4");
    const auto answers = Receive(6);
    ASSERT_EQ(answers.size(), 6u);
    EXPECT_EQ(TokenCount(answers[0].second), 5);
    EXPECT_LE(answers[1].second.size(), 6u);
    EXPECT_EQ(TokenCount(answers[2].second), 6);
    EXPECT_EQ(TokenCount(answers[3].second), 4);
    EXPECT_EQ(answers[4].second.size(), 600u);
    EXPECT_TRUE(std::all_of(answers[5].second.begin(), answers[5].second.end(),
        [](char c) { return static_cast<unsigned char>(c) >= 0x80; }));
}

} // namespace
