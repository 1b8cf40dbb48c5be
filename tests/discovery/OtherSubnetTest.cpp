// A camera on the PC's cable whose only address is in another subnet: the
// sweep's limited broadcast reaches it, and its broadcast answer reaches the
// listener, while the count of queries stays that of the range.
#include "DiscoveryListener.h"
#include "DiscoverySweep.h"
#include "ReversePathFilter.h"
#include "Simulator.h"
#include "TestNetwork.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

namespace {

using namespace quill;
using namespace std::chrono_literals;

// Keeps the calling thread in another network namespace for its lifetime.
struct InNamespace {
    InNamespace(test::TestNetwork& network, const std::string& host) { network.enter(host); }
    ~InNamespace() { ::setns(original, CLONE_NEWNET), ::close(original); }
    int original = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
};

// The simulator on a thread of its own inside a host's namespace, stopped and
// joined when it goes.
struct CameraHost {
    CameraHost(test::TestNetwork& network, const std::string& host, camsim::SimulatorOptions options)
        : simulator(std::move(options))
        , thread([this, &network, host] {
            try {
                network.enter(host);
                simulator.bind();
            } catch (...) {
                return bound.set_exception(std::current_exception());
            }
            bound.set_value();
            simulator.run();
        })
    {
    }
    ~CameraHost() { Stop(); }
    void Stop()
    {
        if (thread.joinable())
            simulator.stop(), thread.join();
    }
    camsim::Simulator simulator;
    std::promise<void> bound;
    std::thread thread;
};

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
    CameraHost cameraHost(network, camera, options);
    ASSERT_NO_THROW(cameraHost.bound.get_future().get());

    InNamespace inPc(network, pc);
    std::mutex mutex;
    std::condition_variable arrived;
    std::vector<discovery::DeviceRecord> answers;
    discovery::DiscoveryListener listener(
        discovery::kDiscoveryPort,
        [&](const discovery::DeviceRecord& record) {
            const std::lock_guard lock(mutex);
            answers.push_back(record);
            arrived.notify_all();
        },
        [](const std::string&) {});
    ASSERT_TRUE(listener.Start().started());

    const auto outcome = discovery::SendQueries({ 198, 18, 0, 0 }, { 198, 18, 0, 255 },
        discovery::kDiscoveryPort, discovery::Ipv4Octets { 198, 18, 0, 1 });
    EXPECT_EQ(outcome.attempted, 256);
    EXPECT_EQ(outcome.sent(), 256);
    EXPECT_TRUE(outcome.limitedBroadcastSent()) << outcome.limitedBroadcastError.message();
    {
        std::unique_lock lock(mutex);
        ASSERT_TRUE(arrived.wait_for(lock, 10s, [&] { return !answers.empty(); }));
        EXPECT_EQ(answers.front().ip, "192.168.1.108");
    }
    listener.Stop();
    cameraHost.Stop();
    // The directed queries never reached the camera: only the broadcast one did.
    EXPECT_EQ(cameraHost.simulator.answersSent(), 1u);

    // The filter that would have dropped the answer, as the PC's namespace has it.
    EXPECT_EQ(netinfo::EffectiveReversePathFilter(pcSide), 0);
    ASSERT_EQ(
        test::RunCommand(network.execPrefix(pc) + "sh -c 'echo 2 > /proc/sys/net/ipv4/conf/all/rp_filter'"),
        0);
    EXPECT_EQ(netinfo::EffectiveReversePathFilter(pcSide), 2);
}

} // namespace
