#include "IpconfigLabels.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using namespace quill::netinfo;

namespace {

TEST(ReportLabels, EveryFormFoundAnywhereInALineGivesItsField)
{
    for (std::size_t field = 0; field < kReportFieldCount; ++field)
        for (std::string_view form : kReportLabels[field])
            EXPECT_EQ(FindReportLabel("   xx " + std::string(form) + ". . . . : value\n"),
                static_cast<ReportField>(field))
                << form;
}

TEST(ReportLabels, LongestLabelDecidesAndTiesGoInTableOrder)
{
    const struct {
        const char* line;
        std::optional<ReportField> field;
    } cases[] = {
        { "   Description . . . : Intel(R) Ethernet\n", std::nullopt },
        { "   IPv6 Address. . . : 2001:db8::1\n", std::nullopt },
        { "   DNS Suffix Search List. . : example.lan\n", std::nullopt },
        { "   DHCP Server . . . : 10.0.0.1\n", std::nullopt },
        { "   Physical Addres. . : 00-11-22-33-44-55\n", std::nullopt },
        { "", std::nullopt },
        { "   Autoconfiguration IPv4 Address. . : 169.254.1.2\n", ReportField::Ipv4Address },
        // "????? ??????" holds the mask's "????? ???": the longer label decides.
        { "   ????? ?????? . . . : 192.168.10.1\n", ReportField::DefaultGateway },
        { "   ????? ??? . . . . : 255.255.255.0\n", ReportField::SubnetMask },
        { "Subnet Mask DNS Servers: x\n", ReportField::SubnetMask },
        { "DNS Servers Subnet Mask: x\n", ReportField::SubnetMask },
        { "IPv4 ????? ???: x\n", ReportField::Ipv4Address },
    };
    for (const auto& c : cases)
        EXPECT_EQ(FindReportLabel(c.line), c.field) << c.line;
}

} // namespace
