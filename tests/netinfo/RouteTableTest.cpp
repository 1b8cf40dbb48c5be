#include "RouteTable.h"
#include "TempDir.h"

#include <arpa/inet.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using quill::netinfo::ParseDefaultGateways;
using quill::netinfo::ReadDefaultGateways;

namespace {

const std::string kHeader
    = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

// The kernel writes each address's raw 32 bits as one hexadecimal number;
// building the rows the same way keeps the test independent of byte order.
std::string Hex(const char* address)
{
    char text[9];
    std::snprintf(text, sizeof text, "%08X", ::inet_addr(address));
    return text;
}

std::string Row(const std::string& iface, const char* destination, const char* gateway, const char* flags,
    const char* metric, const char* mask)
{
    return iface + "\t" + Hex(destination) + "\t" + Hex(gateway) + "\t" + flags + "\t0\t0\t" + metric + "\t"
        + Hex(mask) + "\t0\t0\t0\n";
}

TEST(RouteTable, TakesEachInterfacesDefaultRouteThroughAGateway)
{
    const std::string table = kHeader + Row("eth0", "0.0.0.0", "192.168.1.1", "0003", "100", "0.0.0.0")
        + Row("eth0", "192.168.1.0", "0.0.0.0", "0001", "100", "255.255.255.0")
        + Row("wlan0", "0.0.0.0", "10.0.0.1", "0003", "600", "0.0.0.0")
        + Row("docker0", "172.17.0.0", "172.17.0.254", "0003", "0", "255.255.0.0");
    const auto gateways = ParseDefaultGateways(table);
    EXPECT_EQ(gateways,
        (std::map<std::string, std::string> { { "eth0", "192.168.1.1" }, { "wlan0", "10.0.0.1" } }));
}

TEST(RouteTable, LowestMetricWinsAndTheFirstAmongEquals)
{
    const std::string table = kHeader + Row("eth0", "0.0.0.0", "192.168.1.254", "0003", "600", "0.0.0.0")
        + Row("eth0", "0.0.0.0", "192.168.1.1", "0003", "50", "0.0.0.0")
        + Row("eth0", "0.0.0.0", "192.168.1.2", "0003", "50", "0.0.0.0");
    EXPECT_EQ(ParseDefaultGateways(table).at("eth0"), "192.168.1.1");
}

TEST(RouteTable, RoutesWithoutGatewayOrNotUpGiveNoGateway)
{
    const std::string table = kHeader + Row("tun0", "0.0.0.0", "0.0.0.0", "0001", "0", "0.0.0.0")
        + Row("eth1", "0.0.0.0", "10.1.1.1", "0002", "0", "0.0.0.0")
        + Row("eth2", "0.0.0.0", "10.2.2.2", "0003", "0", "255.0.0.0");
    EXPECT_TRUE(ParseDefaultGateways(table).empty());
}

TEST(RouteTable, MalformedTextGivesNoGatewaysAndNoCrash)
{
    EXPECT_TRUE(ParseDefaultGateways("").empty());
    EXPECT_TRUE(ParseDefaultGateways(kHeader).empty());
    EXPECT_TRUE(ParseDefaultGateways(Row("eth0", "0.0.0.0", "192.168.1.1", "0003", "0", "0.0.0.0")).empty())
        << "the first line is the header";
    const std::string table = kHeader + "eth0\t00000000\n" + "eth0 zz 0101A8C0 0003 0 0 0 00000000 0 0 0\n"
        + "eth0 00000000 0101A8C0 0003 0 0 -1 00000000 0 0 0\n"
        + "eth0 00000000 1FFFFFFFF 0003 0 0 0 00000000\n" + "\n\n";
    EXPECT_TRUE(ParseDefaultGateways(table).empty());
}

TEST(RouteTable, ReadsTheFileAndToleratesAMissingOne)
{
    quill::test::TempDir dir;
    quill::test::WriteWholeFile(
        dir.file("route"), kHeader + Row("eth0", "0.0.0.0", "192.168.1.1", "0003", "0", "0.0.0.0"));
    EXPECT_EQ(ReadDefaultGateways(dir.file("route").string()).at("eth0"), "192.168.1.1");
    EXPECT_TRUE(ReadDefaultGateways(dir.file("missing").string()).empty());
}

} // namespace
