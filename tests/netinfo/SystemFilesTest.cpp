// The system files the adapter list reads beside the interfaces.
#include "ResolverConfig.h"
#include "RouteTable.h"

#include <arpa/inet.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace quill::netinfo;
using Gateways = std::map<std::string, std::string>;

namespace {

const std::string kHeader
    = "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n";

// A row as the kernel writes it: each address's raw 32 bits as one hexadecimal
// number, so the test does not depend on byte order.
std::string Row(const std::string& iface, const char* gateway, const char* flags, const char* metric,
    const char* destination = "0.0.0.0", const char* mask = "0.0.0.0")
{
    auto hex = [](const char* address) {
        char text[9];
        std::snprintf(text, sizeof text, "%08X", ::inet_addr(address));
        return std::string(text);
    };
    return iface + "\t" + hex(destination) + "\t" + hex(gateway) + "\t" + flags + "\t0\t0\t" + metric + "\t"
        + hex(mask) + "\t0\t0\t0\n";
}

// Only default routes that are up and go through a gateway count; per
// interface the lowest metric wins, the first listed among equals.
TEST(RouteTable, TakesEachInterfacesBestDefaultRouteThroughAGateway)
{
    const std::string table = kHeader + Row("eth0", "192.168.1.254", "0003", "600")
        + Row("eth0", "192.168.1.1", "0003", "50") + Row("eth0", "192.168.1.2", "0003", "50")
        + Row("eth0", "0.0.0.0", "0001", "100", "192.168.1.0", "255.255.255.0")
        + Row("wlan0", "10.0.0.1", "0003", "600")
        + Row("docker0", "172.17.0.254", "0003", "0", "172.17.0.0", "255.255.0.0")
        + Row("tun0", "0.0.0.0", "0001", "0") + Row("eth1", "10.1.1.1", "0002", "0")
        + Row("eth2", "10.2.2.2", "0003", "0", "0.0.0.0", "255.0.0.0");
    EXPECT_EQ(ParseDefaultGateways(table), (Gateways { { "eth0", "192.168.1.1" }, { "wlan0", "10.0.0.1" } }));
}

TEST(RouteTable, MalformedTextGivesNoGatewaysAndNoCrash)
{
    for (const std::string& table :
        { std::string(), kHeader, Row("eth0", "192.168.1.1", "0003", "0"), // the first line is the header
            kHeader + "eth0\t00000000\n" + "eth0 zz 0101A8C0 0003 0 0 0 00000000 0 0 0\n"
                + "eth0 00000000 0101A8C0 0003 0 0 -1 00000000 0 0 0\n"
                + "eth0 00000000 1FFFFFFFF 0003 0 0 0 00000000\n\n\n" })
        EXPECT_TRUE(ParseDefaultGateways(table).empty()) << table;
    EXPECT_TRUE(ReadDefaultGateways("/nonexistent/route").empty());
}

TEST(ResolverConfig, FindsTheFirstIpv4Nameserver)
{
    const struct {
        const char* config;
        const char* expected;
    } cases[] = {
        { "search lan\nnameserver 10.0.0.53\nnameserver 10.0.0.54\n", "10.0.0.53" },
        { "#nameserver 1.1.1.1\n; nameserver 2.2.2.2\nnameserver 3.3.3.3", "3.3.3.3" },
        { "nameserver 2001:db8::53\nnameserver fe80::1%eth0\nnameserver 9.9.9.9\n", "9.9.9.9" },
        { "nameserver\t8.8.4.4  # backup\n", "8.8.4.4" },
        { "nameserver 8.8.8.8\r\n", "8.8.8.8" },
        { " nameserver 1.1.1.1\n", "" }, // the keyword must start the line
        { "nameservers 1.1.1.1\nnameserver\nnameserver   \n", "" },
        { "nameserver 300.1.1.1\nnameserver 1.2.3\nnameserver dns.lan\n", "" },
        { "search example.com\noptions ndots:2\n", "" },
        { "", "" },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ParseFirstIpv4Nameserver(c.config), c.expected) << c.config;
}

} // namespace
