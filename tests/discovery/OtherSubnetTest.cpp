// A camera on the PC's cable whose only address is in another subnet: the
// sweep's limited broadcast reaches it, its broadcast answer reaches the
// listener, and the count of queries stays that of the range.
#include "DiscoveryListener.h"
#include "DiscoverySweep.h"
#include "ReversePathFilter.h"
#include "Simulator.h"
#include "TestNetwork.h"

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <thread>

using namespace quill;
using namespace std::chrono_literals;

TEST(OtherSubnet, CameraAnsweringByBroadcastIsFoundThroughTheLimitedBroadcast)
{
    if (const std::string reason = test::TestNetwork::UnavailableReason(); !reason.empty())
        GTEST_SKIP() << "the PC and the camera each need a network namespace: " << reason;
    test::TestNetwork network;
    const std::string pc = network.addHost("pc"), camera = network.addHost("cam");
    const auto [pcSide, cameraSide] = network.link(pc, camera);
    network.addAddress(pc, pcSide, "198.18.0.1/24");
    network.addAddress(camera, cameraSide, "192.168.1.108/24");
    camsim::SimulatorOptions options;
    options.addresses = { "192.168.1.108" };
    options.answerByBroadcast = true;
    options.duration = 30s; // ends the camera's thread even when the test fails early
    camsim::Simulator simulator(options);
    std::promise<void> bound;
    std::jthread cameraThread([&] {
        try {
            network.enter(camera);
            simulator.bind();
        } catch (...) {
            return bound.set_exception(std::current_exception());
        }
        bound.set_value();
        simulator.run();
    });
    ASSERT_NO_THROW(bound.get_future().get());

    // The PC's side on a thread of its own, which the listener's thread inherits the namespace from.
    std::thread([&] {
        network.enter(pc);
        std::promise<std::string> answer;
        std::once_flag first;
        discovery::DiscoveryListener listener(
            discovery::kDiscoveryPort,
            [&](const discovery::DeviceRecord& record, const discovery::Ipv4Endpoint&) {
                std::call_once(first, [&] { answer.set_value(record.ip); });
            },
            [](const std::string&) {});
        ASSERT_TRUE(listener.Start().started());
        const auto outcome = discovery::SendQueries({ 198, 18, 0, 0 }, { 198, 18, 0, 255 },
            discovery::kDiscoveryPort, discovery::Ipv4Octets { 198, 18, 0, 1 });
        EXPECT_EQ(outcome.attempted, 256);
        EXPECT_EQ(outcome.sent(), 256);
        EXPECT_TRUE(outcome.limitedBroadcastSent()) << outcome.limitedBroadcastError.message();
        auto ip = answer.get_future();
        ASSERT_EQ(ip.wait_for(10s), std::future_status::ready);
        EXPECT_EQ(ip.get(), "192.168.1.108");

        // The filter that would have dropped the answer, as the PC's namespace has it.
        EXPECT_EQ(netinfo::EffectiveReversePathFilter(pcSide), 0);
        ASSERT_EQ(test::RunCommand(
                      network.execPrefix(pc) + "sh -c 'echo 2 >/proc/sys/net/ipv4/conf/all/rp_filter'"),
            0);
        EXPECT_EQ(netinfo::EffectiveReversePathFilter(pcSide), 2);
    }).join();
    simulator.stop();
    cameraThread.join();
    // The directed queries never reached the camera: only the broadcast one did.
    EXPECT_EQ(simulator.answersSent(), 1u);
}
