#include "AdaptersInfo.h"
#include "NetinfoTestSupport.h"
#include "NetworkNamespace.h"
#include "TempDir.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>
#include <vector>

using namespace quill::netinfo;
using quill::netinfo::test::Adapter;
using quill::netinfo::test::NetworkNamespace;

namespace {

struct DumpedTable {
    bool result = false;
    int count = -1;
    std::vector<AdapterInfo> slots;
};

std::vector<std::string> SplitAt(const std::string& text, char separator)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = text.find(separator, start);
        pieces.push_back(text.substr(start, end - start));
        if (end == std::string::npos)
            return pieces;
        start = end + 1;
    }
}

DumpedTable ParseDump(const std::string& output)
{
    DumpedTable table;
    std::istringstream lines(output);
    std::string line;
    if (!std::getline(lines, line))
        return table;
    std::istringstream head(line);
    std::string resultWord, countWord;
    int result = 0;
    head >> resultWord >> result >> countWord >> table.count;
    table.result = result == 1;
    while (std::getline(lines, line)) {
        const std::vector<std::string> fields = SplitAt(line, '\t');
        if (fields.size() != 4)
            continue;
        table.slots.push_back(Adapter(SplitAt(fields[0], '|'), fields[1], fields[2], fields[3]));
    }
    return table;
}

class AdaptersInNamespace : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "needs root: the test builds its adapters in a network namespace of its own";
        m_namespace = std::make_unique<NetworkNamespace>();
        if (!m_namespace->created())
            GTEST_SKIP() << "cannot create a network namespace here (\"ip netns add\" failed)";
    }

    bool Ip(const std::string& arguments) { return m_namespace->Ip(arguments); }

    DumpedTable ReadInNamespace(const std::string& resolverConfigFile)
    {
        int exitCode = -1;
        const std::string output = m_namespace->Exec(
            "'" + std::string(QUILL_ADAPTER_DUMP) + "' '" + resolverConfigFile + "'", exitCode);
        EXPECT_EQ(exitCode, 0) << output;
        return ParseDump(output);
    }

    quill::test::TempDir m_dir;
    std::unique_ptr<NetworkNamespace> m_namespace;
};

TEST_F(AdaptersInNamespace, ListsEachAdapterWithItsFirstAddressGatewayAndDns)
{
    ASSERT_TRUE(Ip("link set lo up"));
    // qa0: an address, two default routes (the lower metric is the gateway);
    // its peer qa0p has no IPv4 address and is no adapter.
    ASSERT_TRUE(Ip("link add qa0 type veth peer name qa0p"));
    ASSERT_TRUE(Ip("addr add 10.20.30.5/24 dev qa0"));
    ASSERT_TRUE(Ip("link set qa0 up"));
    ASSERT_TRUE(Ip("link set qa0p up"));
    ASSERT_TRUE(Ip("route add default via 10.20.30.254 dev qa0 metric 300"));
    ASSERT_TRUE(Ip("route add default via 10.20.30.1 dev qa0 metric 100"));
    // qb0: two addresses and no gateway.
    ASSERT_TRUE(Ip("link add qb0 type veth peer name qb0p"));
    ASSERT_TRUE(Ip("addr add 172.16.5.9/16 dev qb0"));
    ASSERT_TRUE(Ip("addr add 192.168.77.3/24 dev qb0"));
    ASSERT_TRUE(Ip("link set qb0 up"));
    // qc0: its first address begins with "0", so it is skipped whole.
    ASSERT_TRUE(Ip("link add qc0 type veth peer name qc0p"));
    ASSERT_TRUE(Ip("addr add 0.1.2.3/8 dev qc0"));
    ASSERT_TRUE(Ip("addr add 10.1.1.1/24 dev qc0"));
    // qd0: its address carries a label; it still belongs to qd0 and its gateway.
    ASSERT_TRUE(Ip("link add qd0 type veth peer name qd0p"));
    ASSERT_TRUE(Ip("addr add 192.168.50.7/23 dev qd0 label qd0:lab"));
    ASSERT_TRUE(Ip("link set qd0 up"));
    ASSERT_TRUE(Ip("link set qd0p up"));
    ASSERT_TRUE(Ip("route add default via 192.168.50.1 dev qd0 metric 200"));

    quill::test::WriteWholeFile(m_dir.file("resolv.conf"),
        "# written by the test\nsearch lab.test\nnameserver fd00::53\nnameserver 10.20.30.53\nnameserver "
        "10.20.30.54\n");

    const DumpedTable table = ReadInNamespace(m_dir.file("resolv.conf").string());
    EXPECT_TRUE(table.result);
    EXPECT_EQ(table.count, 3);
    EXPECT_EQ(table.slots,
        (std::vector<AdapterInfo> {
            Adapter({ "10", "20", "30", "5" }, "255.255.255.0", "10.20.30.1", "10.20.30.53"),
            Adapter({ "172", "16", "5", "9" }, "255.255.0.0", "", "10.20.30.53"),
            Adapter({ "192", "168", "50", "7" }, "255.255.254.0", "192.168.50.1", "10.20.30.53"),
        }));
}

TEST_F(AdaptersInNamespace, NinthAndLaterAdaptersAreIgnored)
{
    for (int i = 0; i < 10; ++i) {
        const std::string name = "qn" + std::to_string(i);
        ASSERT_TRUE(Ip("link add " + name + " type veth peer name " + name + "p"));
        ASSERT_TRUE(Ip("addr add 10.0." + std::to_string(i) + ".1/24 dev " + name));
    }
    // No resolver file: the adapters are listed with an empty DNS server.
    const DumpedTable table = ReadInNamespace(m_dir.file("missing-resolv.conf").string());
    EXPECT_TRUE(table.result);
    ASSERT_EQ(table.count, kAdapterSlotCount);
    ASSERT_EQ(table.slots.size(), static_cast<std::size_t>(kAdapterSlotCount));
    for (int i = 0; i < kAdapterSlotCount; ++i)
        EXPECT_EQ(table.slots[static_cast<std::size_t>(i)],
            Adapter({ "10", "0", std::to_string(i), "1" }, "255.255.255.0", "", ""));
}

TEST_F(AdaptersInNamespace, LoopbackAloneGivesAnEmptyTable)
{
    ASSERT_TRUE(Ip("link set lo up"));
    ASSERT_TRUE(Ip("addr add 127.0.0.2/8 dev lo"));
    const DumpedTable table = ReadInNamespace(m_dir.file("missing-resolv.conf").string());
    EXPECT_TRUE(table.result);
    EXPECT_EQ(table.count, 0);
    EXPECT_TRUE(table.slots.empty());
}

TEST(AdaptersOfThisProcess, TableIsWellFormedWhateverTheMachineHas)
{
    AdapterTable table;
    EXPECT_TRUE(MakeAdapterListCollector()(table));
    ASSERT_GE(table.count, 0);
    ASSERT_LE(table.count, kAdapterSlotCount);
    for (std::int32_t i = 0; i < table.count; ++i) {
        const AdapterInfo& slot = table.slots[static_cast<std::size_t>(i)];
        ASSERT_EQ(slot.addressParts.size(), 4u);
        EXPECT_NE(slot.addressParts[0].front(), '0');
        EXPECT_FALSE(slot.subnetMask.empty());
    }
}

} // namespace
