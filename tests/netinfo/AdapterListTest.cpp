// The adapter list from resolver files, namespaces and a stand-in resolved; nothing is sent.
#include "AdaptersInfo.h"
#include "NetinfoTestSupport.h"
#include "ResolvedStandIn.h"
#include "ResolverConfig.h"
#include "TempDir.h"
#include "TestNetwork.h"

using namespace quill::netinfo;
using namespace quill::test;
using Slots = std::vector<AdapterInfo>;

namespace {

// A local stub or cache is never shown: its upstream servers are, or nothing.
TEST(ResolverFiles, NameTheFirstUpstreamIpv4Server)
{
    const struct {
        const char* config;
        const char* upstream;
        const char* expected;
    } cases[] = {
        { "search lan\nnameserver 10.0.0.53\nnameserver 10.0.0.54\n", "nameserver 9.9.9.9\n", "10.0.0.53" },
        { "#nameserver 1.1.1.1\n nameserver 4.4.4.4\nnameserver ::1\nnameserver\t8.8.4.4 #\r\n", "",
            "8.8.4.4" },
        { "nameservers 1.1.1.1\nnameserver\nnameserver 300.1.1.1\nnameserver dns.lan\n", "", "" },
        { "nameserver 127.0.0.53\n", "nameserver 192.168.1.1\nnameserver 1.1.1.1\n", "192.168.1.1" },
        { "nameserver 127.0.0.1\nnameserver 10.9.9.9\n", "nameserver 192.168.1.1\n", "10.9.9.9" },
        { "nameserver 127.0.0.53\n", "nameserver 127.0.0.1\nnameserver fd00::1\n", "" },
    };
    for (const auto& c : cases) {
        TempDir dir;
        WriteWholeFile(dir.file("r"), c.config);
        WriteWholeFile(dir.file("u"), c.upstream);
        EXPECT_EQ(ReadUpstreamNameserver(dir.file("r"), dir.file("u")), c.expected) << c.config;
    }
}

class AdaptersInNamespace : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string reason = TestNetwork::UnavailableReason(); !reason.empty())
            GTEST_SKIP() << reason;
        m_host = m_network.addHost("ni");
    }

    void Ip(const std::string& arguments) { m_network.ip(m_host, arguments); }

    // A veth pair; the peer's state decides whether the first end has a carrier.
    void Veth(
        const std::string& name, const std::string& address, bool up, bool peerUp, const char* index = "")
    {
        Ip("link add " + name + index + " type veth peer name " + name + "p");
        Ip("addr add " + address + " dev " + name);
        Ip("link set " + name + (up ? " up" : " down"));
        Ip("link set " + name + "p" + (peerUp ? " up" : " down"));
        // The kernel reports the carrier a moment after both ends are up.
        const std::string showUp = "ip -n " + m_host + " link show " + name + " | grep -q 'state UP'";
        EXPECT_TRUE(!(up && peerUp) || QTest::qWaitFor([&] { return RunCommand(showUp) == 0; }, 5000));
    }

    // /proc/self/net shows the main thread's namespace, not the reading thread's.
    Slots Read(const std::string& busAddress)
    {
        const AdapterSources sources { m_dir.file("r"), m_dir.file("u"), "/proc/thread-self/net/route",
            busAddress };
        AdapterTable table;
        RunAside([&] {
            m_network.enter(m_host);
            EXPECT_TRUE(MakeAdapterListCollector(sources)(table));
        });
        return FilledSlots(table);
    }

    TestNetwork m_network;
    std::string m_host;
    TempDir m_dir;
};

// Only adapters that are up and have a carrier count; the one with the
// lowest-metric default route comes first, the others in kernel order. Each
// shows its link's first IPv4 server, else resolved's first global one.
TEST_F(AdaptersInNamespace, ListsConnectedAdaptersDefaultRouteFirst)
{
    ResolvedStandIn resolved;
    if (!resolved.Start(m_dir.file("bus").string()))
        GTEST_SKIP() << "needs dbus-daemon to run a private bus";
    resolved.links = { { 40, { { 0, "fd00::53" }, { 0, "10.40.0.53" } } }, { 50, { { 0, "fd00::1" } } } };
    resolved.managerServers
        = { { 40, "10.40.0.53" }, { 0, "fd00::2" }, { 0, "10.0.0.53" }, { 0, "10.0.0.5" } };

    Veth("qa0", "10.20.30.5/24", true, true, " index 40");
    Ip("route add default via 10.20.30.254 dev qa0 metric 400");
    Ip("route add default via 10.20.30.1 dev qa0 metric 300");
    Veth("qb0", "172.16.5.9/16", true, false); // up, but unplugged
    Veth("qc0", "10.1.1.1/24", false, true); // addressed, but down
    Veth("qd0", "192.168.50.7/23 label qd0:lab", true, true); // a labelled address is still qd0's
    Ip("addr add 192.168.77.3/24 dev qd0");
    Veth("qe0", "0.1.2.3/8", true, true); // its first address begins with "0"
    Ip("addr add 10.1.2.3/8 dev qe0");
    Veth("qf0", "10.5.5.5/24", true, true, " index 50");
    Ip("route add default via 10.5.5.1 dev qf0 metric 100");

    EXPECT_EQ(Read(resolved.address),
        (Slots { { { "10", "5", "5", "5" }, "255.255.255.0", "10.5.5.1", "10.0.0.53", "qf0" },
            { { "192", "168", "50", "7" }, "255.255.254.0", "", "10.0.0.53", "qd0" },
            { { "10", "20", "30", "5" }, "255.255.255.0", "10.20.30.1", "10.40.0.53", "qa0" } }));
}

// Where resolved has no name on the bus, the resolver files name the server.
TEST_F(AdaptersInNamespace, NinthAndLaterAdaptersAreIgnored)
{
    ResolvedStandIn notResolved;
    if (!notResolved.Start(m_dir.file("bus").string(), false))
        GTEST_SKIP() << "needs dbus-daemon to run a private bus";
    WriteWholeFile(m_dir.file("r"), "nameserver 127.0.0.53\n");
    WriteWholeFile(m_dir.file("u"), "nameserver 10.9.9.9\n");
    Slots expected;
    for (int i = 0; i < 10; ++i) {
        const std::string name = "qn" + std::to_string(i);
        Veth(name, "10.0." + std::to_string(i) + ".1/24", true, true);
        if (i < kAdapterSlotCount)
            expected.push_back(
                { { "10", "0", std::to_string(i), "1" }, "255.255.255.0", "", "10.9.9.9", name });
    }
    EXPECT_EQ(Read(notResolved.address), expected);
}

} // namespace
