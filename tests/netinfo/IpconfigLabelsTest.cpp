#include "IpconfigLabels.h"

#include <gtest/gtest.h>

#include <string>

using quill::netinfo::FindReportLabel;
using quill::netinfo::kFormsPerField;
using quill::netinfo::kReportFieldCount;
using quill::netinfo::kReportLabels;
using quill::netinfo::ReportField;

namespace {

TEST(ReportLabels, FormsHaveTheirExactByteLengths)
{
    const std::size_t lengths[kReportFieldCount][kFormsPerField] = {
        { 16, 8, 8, 8 },
        { 12, 9, 9, 9 },
        { 11, 10, 7, 9 },
        { 15, 8, 6, 12 },
        { 11, 10, 9, 8 },
    };
    for (std::size_t field = 0; field < kReportFieldCount; ++field)
        for (std::size_t form = 0; form < kFormsPerField; ++form)
            EXPECT_EQ(kReportLabels[field][form].size(), lengths[field][form]) << field << "/" << form;
}

TEST(ReportLabels, BigFiveFormsAreTheCodePage950Bytes)
{
    EXPECT_EQ(kReportLabels[0][1], "\xB9\xEA\xC5\xE9\xA6\xEC\xA7\x7D");
    EXPECT_EQ(kReportLabels[2][2], "\xA4\x6C\xCA\x49\xB1\xBB?");
    EXPECT_EQ(kReportLabels[3][2], "\xC0\x71?\xCA\x49?");
    EXPECT_EQ(kReportLabels[4][1], "DNS \xA6\xF8\xAA\x41\xBE\xB9");
}

TEST(ReportLabels, EveryFormFoundAnywhereInALineGivesItsField)
{
    for (std::size_t field = 0; field < kReportFieldCount; ++field) {
        for (std::string_view form : kReportLabels[field]) {
            const std::string line = "   xx " + std::string(form) + ". . . . : value\n";
            const auto found = FindReportLabel(line);
            ASSERT_TRUE(found.has_value()) << form;
            EXPECT_EQ(static_cast<std::size_t>(*found), field) << form;
        }
    }
}

TEST(ReportLabels, LinesWithoutLabelsAreNoLabelLines)
{
    for (const char* line : { "   Description . . . : Intel(R) Ethernet\n",
             "   IPv6 Address. . . : 2001:db8::1\n", "   DNS Suffix Search List. . : example.lan\n",
             "   DHCP Server . . . : 10.0.0.1\n", "   Physical Addres. . : 00-11-22-33-44-55\n", "" })
        EXPECT_FALSE(FindReportLabel(line).has_value()) << line;
}

TEST(ReportLabels, LongerLabelContainingAFormCountsAsThatField)
{
    EXPECT_EQ(
        FindReportLabel("   Autoconfiguration IPv4 Address. . : 169.254.1.2\n"), ReportField::Ipv4Address);
}

TEST(ReportLabels, QuestionMarkGatewayIsNotTakenForTheMaskItContains)
{
    // "????? ??????" holds "????? ???": the longer label decides.
    EXPECT_EQ(FindReportLabel("   ????? ?????? . . . : 192.168.10.1\n"), ReportField::DefaultGateway);
    EXPECT_EQ(FindReportLabel("   ????? ??? . . . . : 255.255.255.0\n"), ReportField::SubnetMask);
}

TEST(ReportLabels, LabelsOfEqualLengthGoInTableOrder)
{
    EXPECT_EQ(FindReportLabel("Subnet Mask DNS Servers: x\n"), ReportField::SubnetMask);
    EXPECT_EQ(FindReportLabel("DNS Servers Subnet Mask: x\n"), ReportField::SubnetMask);
    EXPECT_EQ(FindReportLabel("IPv4 ????? ???: x\n"), ReportField::Ipv4Address);
}

} // namespace
