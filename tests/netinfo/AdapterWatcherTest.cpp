// The adapter watcher in a namespace of the test's own: an adapter that gets
// an address after the start is told, and so is its going.
#include "AdapterWatcher.h"
#include "AdaptersInfo.h"
#include "TempDir.h"
#include "TestNetwork.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

using namespace quill::netinfo;
using namespace quill::test;

namespace {

// Puts this thread (and the threads it starts) into a host until it goes.
struct InsideHost {
    InsideHost(TestNetwork& network, const std::string& host) { network.enter(host); }
    ~InsideHost()
    {
        ::setns(original, CLONE_NEWNET);
        ::close(original);
    }
    int original = ::open("/proc/thread-self/ns/net", O_RDONLY | O_CLOEXEC);
};

TEST(AdapterWatcher, TellsAnAdapterThatGetsAnAddressAfterTheStartAndItsGoing)
{
    if (const std::string reason = TestNetwork::UnavailableReason(); !reason.empty())
        GTEST_SKIP() << reason;
    TestNetwork network;
    const std::string host = network.addHost("aw");
    const auto [cable, peerEnd] = network.link(host, network.addHost("awp"));
    TempDir dir;
    WriteWholeFile(dir.file("r"), "nameserver 198.18.9.53\n");
    const AdapterCollectors collectors { {},
        MakeAdapterListCollector({ dir.file("r"), dir.file("u"), "/proc/thread-self/net/route", "" }) };

    const InsideHost inside(network, host);
    AdapterWatcher watcher(collectors);
    const std::vector<AdapterRow> known = ReadAdapterRows(collectors);
    ASSERT_TRUE(known.empty());
    ASSERT_TRUE(watcher.Start(known));
    QSignalSpy told(&watcher, &AdapterWatcher::AdaptersChanged);

    network.addAddress(host, cable, "198.18.7.2/24");
    ASSERT_TRUE(told.wait(2000)) << "the adapter within 2 s";
    const auto adapters = told.takeLast().at(0).value<std::vector<AdapterRow>>();
    ASSERT_EQ(adapters.size(), 1u);
    EXPECT_EQ(adapters[0],
        (AdapterRow { cable, { 198, 18, 7, 2 }, "255.255.255.0", "", "198.18.9.53", true, false, true }));

    network.ip(host, "addr del 198.18.7.2/24 dev " + cable);
    ASSERT_TRUE(told.wait(2000)) << "its going within 2 s";
    EXPECT_TRUE(told.takeLast().at(0).value<std::vector<AdapterRow>>().empty());
}

} // namespace
