#include "ResolverConfig.h"
#include "TempDir.h"

#include <gtest/gtest.h>

#include <string>

using quill::netinfo::ParseFirstIpv4Nameserver;
using quill::netinfo::ReadFirstIpv4Nameserver;

namespace {

struct ResolverCase {
    const char* name;
    const char* config;
    const char* expected;
};

void PrintTo(const ResolverCase& c, std::ostream* os)
{
    *os << c.name;
}

class ResolverConfigCases : public ::testing::TestWithParam<ResolverCase> { };

TEST_P(ResolverConfigCases, FindsTheFirstIpv4Nameserver)
{
    EXPECT_EQ(ParseFirstIpv4Nameserver(GetParam().config), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, ResolverConfigCases,
    ::testing::Values(ResolverCase { "plain", "nameserver 10.0.0.53\n", "10.0.0.53" },
        ResolverCase {
            "first_of_several", "search lan\nnameserver 10.0.0.53\nnameserver 10.0.0.54\n", "10.0.0.53" },
        ResolverCase {
            "comments_skipped", "#nameserver 1.1.1.1\n; nameserver 2.2.2.2\nnameserver 3.3.3.3", "3.3.3.3" },
        ResolverCase { "ipv6_passed_over",
            "nameserver 2001:db8::53\nnameserver fe80::1%eth0\nnameserver 9.9.9.9\n", "9.9.9.9" },
        ResolverCase { "tab_and_trailing_text", "nameserver\t8.8.4.4  # backup\n", "8.8.4.4" },
        ResolverCase { "crlf", "nameserver 8.8.8.8\r\n", "8.8.8.8" },
        ResolverCase { "keyword_must_start_the_line", " nameserver 1.1.1.1\n", "" },
        ResolverCase { "other_keyword", "nameservers 1.1.1.1\nnameserver\n", "" },
        ResolverCase { "keyword_only", "nameserver   \n", "" },
        ResolverCase { "not_an_address", "nameserver 300.1.1.1\nnameserver 1.2.3\nnameserver dns.lan\n", "" },
        ResolverCase { "none", "search example.com\noptions ndots:2\n", "" },
        ResolverCase { "empty", "", "" }),
    [](const ::testing::TestParamInfo<ResolverCase>& info) { return std::string(info.param.name); });

TEST(ResolverConfig, ReadsTheFileAndToleratesAMissingOne)
{
    quill::test::TempDir dir;
    quill::test::WriteWholeFile(dir.file("resolv.conf"), "nameserver 192.0.2.53\n");
    EXPECT_EQ(ReadFirstIpv4Nameserver(dir.file("resolv.conf").string()), "192.0.2.53");
    EXPECT_EQ(ReadFirstIpv4Nameserver(dir.file("missing.conf").string()), "");
}

} // namespace
