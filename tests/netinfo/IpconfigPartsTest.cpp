// The parser's building blocks: the address split, the line reader, the labels.
#include "IpconfigLabels.h"
#include "ReportStream.h"
#include "SplitAddress.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

using namespace quill::netinfo;
using Texts = std::vector<std::string>;
using namespace std::string_literals;

namespace {

TEST(SplitAddress, FillsTheSlotAtCountOrLeavesItUntouched)
{
    const struct {
        const char* address;
        Texts parts; // empty: refused
    } cases[] = {
        { "192.168.1.20", { "192", "168", "1", "20" } },
        { "0.0.0.0", { "0", "0", "0", "0" } },
        { "1.2.3.4.5", { "1", "2", "3", "4", "5" } },
        { "..a....", { "", "", "a", "", "", "", "" } },
        { "abcdef.", { "abcdef", "" } },
        { "1.2.3.", {} },
        { "", {} },
        { "fe80::1%12", {} },
        { "1234567", {} },
    };
    for (const auto& c : cases) {
        AdapterTable table;
        table.count = 2;
        table.slots[2].addressParts = { "left", "over" };
        EXPECT_EQ(SplitAddress(table, c.address), !c.parts.empty()) << c.address;
        EXPECT_EQ(table.count, 2) << "the caller increments the count";
        EXPECT_EQ(table.slots[2].addressParts, (c.parts.empty() ? Texts { "left", "over" } : c.parts));
    }
}

TEST(SplitAddress, NeverWritesPastTheLastSlot)
{
    for (const std::int32_t count : { kAdapterSlotCount, -1 }) {
        AdapterTable table;
        table.count = count;
        EXPECT_FALSE(SplitAddress(table, "192.168.1.20"));
    }
}

// Lines arrive as fgets leaves them: with their newline, in pieces of at most
// 1023 bytes, and cut at a zero byte as a C caller would see them.
TEST(ReportStream, GivesLinesInPiecesAsFgetsDoes)
{
    const std::size_t piece = kReportLineBufferSize - 1;
    const struct {
        std::string bytes;
        Texts pieces;
    } cases[] = {
        { "", {} },
        { "a: 1\n\nb\n", { "a: 1\n", "\n", "b\n" } },
        { "a\nlast", { "a\n", "last" } },
        { std::string(piece - 1, 'x') + "\n", { std::string(piece - 1, 'x') + "\n" } },
        { std::string(piece, 'y') + "\n", { std::string(piece, 'y'), "\n" } },
        { std::string(2500, 'z') + "\nnext\n",
            { std::string(piece, 'z'), std::string(piece, 'z'), std::string(2500 - 2 * piece, 'z') + "\n",
                "next\n" } },
        { "ab\0cd\nef\n"s, { "ab", "ef\n" } },
        { "\0\n"s, { "" } },
    };
    for (const auto& c : cases) {
        auto report = ReportStream::FromBytes(c.bytes);
        ASSERT_NE(report, nullptr);
        Texts pieces;
        for (std::string line; report->NextLine(line);)
            pieces.push_back(line);
        EXPECT_EQ(pieces, c.pieces) << testing::PrintToString(c.bytes.substr(0, 20));
    }
    EXPECT_EQ(ReportStream::FromFile("/nonexistent/report.txt"), nullptr);
}

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
