#include "HostText.h"

#include <gtest/gtest.h>

using namespace quill::netcheck;

// The probes refuse, without any traffic, what no host name or address holds.
TEST(HostText, TellsHostNamesAndAddressesFromOtherText)
{
    const std::string names[] = { "time-a.nist.gov.", "_ntp._udp.example", "127.1", std::string(253, 'a') };
    const std::string ipv6[] = { "fe80::1%eth0", "2001:db8::192.0.2.1" };
    const std::string neither[]
        = { "", std::string(254, 'a'), "fe80::1%", "fe80::1%e th0", "[::1]", "2001:db8::g", "host;reboot",
              "host/path", "user@host", "host:123", "h\xc3\xb6st", std::string("ho\0st", 5) };
    // (host name, IPv6 literal)
    const auto kind
        = [](const std::string& text) { return std::pair(IsHostName(text), IsIpv6Literal(text)); };
    for (const std::string& text : names)
        EXPECT_EQ(kind(text), std::pair(true, false)) << text;
    for (const std::string& text : ipv6)
        EXPECT_EQ(kind(text), std::pair(false, true)) << text;
    for (const std::string& text : neither)
        EXPECT_EQ(kind(text), std::pair(false, false)) << text;
}

TEST(HostText, PrintableForLogKeepsTheRecordOnOneLine)
{
    EXPECT_EQ(PrintableForLog("a\r\nb\tc\x7f"), "a??b?c?");
    EXPECT_EQ(PrintableForLog("h\xc3\xb6st"), "h\xc3\xb6st");
}
