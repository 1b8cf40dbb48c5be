#include "HostText.h"

#include <gtest/gtest.h>

using namespace quill::netcheck;

// The probes refuse, without any traffic, what no host name or address holds.
TEST(HostText, TellsHostNamesAndAddressesFromOtherText)
{
    struct Case {
        std::string text;
        bool hostName;
        bool ipv6;
    };
    const Case cases[] = {
        { "time-a.nist.gov.", true, false },
        { "_ntp._udp.example", true, false },
        { "127.1", true, false },
        { std::string(253, 'a'), true, false },
        { std::string(254, 'a'), false, false },
        { "fe80::1%eth0", false, true },
        { "2001:db8::192.0.2.1", false, true },
        { "fe80::1%", false, false },
        { "fe80::1%e th0", false, false },
        { "[::1]", false, false },
        { "2001:db8::g", false, false },
        { "", false, false },
        { "host;reboot", false, false },
        { "host/path", false, false },
        { "user@host", false, false },
        { "host:123", false, false },
        { "h\xc3\xb6st", false, false },
        { std::string("ho\0st", 5), false, false },
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(IsHostName(c.text), c.hostName);
        EXPECT_EQ(IsIpv6Literal(c.text), c.ipv6);
    }
}

TEST(HostText, PrintableForLogKeepsTheRecordOnOneLine)
{
    EXPECT_EQ(PrintableForLog("a\r\nb\tc\x7f"), "a??b?c?");
    EXPECT_EQ(PrintableForLog("h\xc3\xb6st"), "h\xc3\xb6st");
}
