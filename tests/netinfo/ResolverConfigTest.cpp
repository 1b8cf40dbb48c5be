#include "ResolverConfig.h"

#include <gtest/gtest.h>

using quill::netinfo::ParseFirstIpv4Nameserver;

namespace {

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
