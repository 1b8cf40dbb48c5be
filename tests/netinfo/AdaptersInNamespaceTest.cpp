#include "AdaptersInfo.h"
#include "NetinfoTestSupport.h"
#include "TempDir.h"
#include "TestNetwork.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace quill::netinfo;
using quill::test::TestNetwork;

namespace {

// Builds adapters in a namespace of its own and reads the table there from a
// thread that entered it; only configuration is read, nothing is sent.
class AdaptersInNamespace : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const std::string reason = TestNetwork::UnavailableReason(); !reason.empty())
            GTEST_SKIP() << reason;
        m_host = m_network.addHost("ni");
    }

    void Ip(const std::string& arguments) { m_network.ip(m_host, arguments); }

    std::vector<AdapterInfo> Read(const std::string& resolverFile)
    {
        AdapterSources sources = AdapterSources::System();
        sources.resolverConfigFile = m_dir.file(resolverFile).string();
        // /proc/self/net shows the main thread's namespace, not this thread's.
        sources.routeTableFile = "/proc/thread-self/net/route";
        AdapterTable table;
        bool result = false;
        std::thread([&] {
            try {
                m_network.enter(m_host);
                result = MakeAdapterListCollector(sources)(table);
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
        }).join();
        EXPECT_TRUE(result);
        return FilledSlots(table);
    }

    TestNetwork m_network;
    std::string m_host;
    quill::test::TempDir m_dir;
};

TEST_F(AdaptersInNamespace, ListsEachAdapterWithItsFirstAddressGatewayAndDns)
{
    // lo is up with 127.0.0.1 and is no adapter. qa0: two default routes (the
    // lower metric is the gateway); its peer qa0p has no IPv4 address.
    Ip("link add qa0 type veth peer name qa0p");
    Ip("addr add 10.20.30.5/24 dev qa0");
    Ip("link set qa0 up");
    Ip("link set qa0p up");
    Ip("route add default via 10.20.30.254 dev qa0 metric 300");
    Ip("route add default via 10.20.30.1 dev qa0 metric 100");
    // qb0: two addresses and no gateway.
    Ip("link add qb0 type veth peer name qb0p");
    Ip("addr add 172.16.5.9/16 dev qb0");
    Ip("addr add 192.168.77.3/24 dev qb0");
    Ip("link set qb0 up");
    // qc0: its first address begins with "0", so it is skipped whole.
    Ip("link add qc0 type veth peer name qc0p");
    Ip("addr add 0.1.2.3/8 dev qc0");
    Ip("addr add 10.1.1.1/24 dev qc0");
    // qd0: its address carries a label; it still belongs to qd0 and its gateway.
    Ip("link add qd0 type veth peer name qd0p");
    Ip("addr add 192.168.50.7/23 dev qd0 label qd0:lab");
    Ip("link set qd0 up");
    Ip("link set qd0p up");
    Ip("route add default via 192.168.50.1 dev qd0 metric 200");
    quill::test::WriteWholeFile(m_dir.file("resolv.conf"),
        "# by the test\nsearch lab.test\nnameserver fd00::53\nnameserver 10.20.30.53\nnameserver "
        "10.20.30.54\n");

    EXPECT_EQ(Read("resolv.conf"),
        (std::vector<AdapterInfo> {
            { { "10", "20", "30", "5" }, "255.255.255.0", "10.20.30.1", "10.20.30.53" },
            { { "172", "16", "5", "9" }, "255.255.0.0", "", "10.20.30.53" },
            { { "192", "168", "50", "7" }, "255.255.254.0", "192.168.50.1", "10.20.30.53" },
        }));
}

TEST_F(AdaptersInNamespace, NinthAndLaterAdaptersAreIgnored)
{
    std::vector<AdapterInfo> expected;
    for (int i = 0; i < 10; ++i) {
        const std::string name = "qn" + std::to_string(i);
        Ip("link add " + name + " type veth peer name " + name + "p");
        Ip("addr add 10.0." + std::to_string(i) + ".1/24 dev " + name);
        // Without a resolver file the DNS server is empty.
        if (i < kAdapterSlotCount)
            expected.push_back({ { "10", "0", std::to_string(i), "1" }, "255.255.255.0", "", "" });
    }
    EXPECT_EQ(Read("missing-resolv.conf"), expected);
}

} // namespace
