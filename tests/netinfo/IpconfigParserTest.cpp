#include "IpconfigParser.h"
#include "NetinfoTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quill::netinfo;
using quill::netinfo::test::Adapter;
using quill::netinfo::test::FilledSlots;
using namespace std::string_literals;

namespace {

AdapterTable ParseText(std::string report)
{
    AdapterTable table;
    const bool started = ParseIpconfig(table, [&] { return ReportStream::FromBytes(report); });
    EXPECT_TRUE(started);
    return table;
}

AdapterTable ParseRecorded(const std::string& name)
{
    AdapterTable table;
    const std::string path = std::string(QUILL_TEST_DATA_DIR) + "/" + name;
    const bool started = ParseIpconfig(table, [&] { return ReportStream::FromFile(path); });
    EXPECT_TRUE(started) << path;
    return table;
}

// One label line as ipconfig prints it: the label, dot leaders, ": ", the value.
std::string Line(const std::string& label, const std::string& value)
{
    return "   " + label + " . . . . . : " + value + "\n";
}

// A complete English adapter block.
std::string Block(const std::string& ip, const std::string& mask, const std::string& gateway,
    const std::string& dns, const std::string& mac = "00-1A-2B-3C-4D-5E")
{
    return "Ethernet adapter Ethernet:\n\n" + Line("Physical Address", mac) + Line("IPv4 Address", ip)
        + Line("Subnet Mask", mask) + Line("Default Gateway", gateway) + Line("DNS Servers", dns) + "\n";
}

// --- Recorded reports ----------------------------------------------------

TEST(RecordedReports, EnglishReportWithSeveralKindsOfAdapters)
{
    const AdapterTable table = ParseRecorded("ipconfig_en.txt");
    EXPECT_EQ(FilledSlots(table),
        (std::vector<AdapterInfo> {
            // Ethernet: "(Preferred)" goes, the second DNS server on its
            // continuation line is not read.
            Adapter({ "192", "168", "1", "20" }, "255.255.255.0", "192.168.1.1", "192.168.1.1"),
            // The disconnected Wi-Fi has no IPv4 lines and makes no record;
            // the VPN after it has an empty gateway.
            Adapter({ "10", "8", "0", "6" }, "255.255.255.255", "", "10.8.0.1"),
            // The IPv6-only adapter completes nothing; its gateway and DNS
            // values carry over into the record that the next adapter's
            // autoconfiguration address completes at its mask line.
            Adapter({ "169", "254", "12", "34" }, "255.255.0.0", "fe80::1%17", "2001:db8:10::53"),
        }));
}

TEST(RecordedReports, TraditionalChineseReportInBig5)
{
    const AdapterTable table = ParseRecorded("ipconfig_zh_tw_big5.txt");
    EXPECT_EQ(FilledSlots(table),
        (std::vector<AdapterInfo> {
            Adapter({ "192", "168", "0", "15" }, "255.255.255.0", "192.168.0.1", "168.95.1.1"),
            Adapter({ "10", "0", "0", "8" }, "255.0.0.0", "10.0.0.254", "10.0.0.53"),
        }));
}

TEST(RecordedReports, SimplifiedChineseReportReadThroughCodePage950)
{
    const AdapterTable table = ParseRecorded("ipconfig_zh_cn_cp950.txt");
    EXPECT_EQ(FilledSlots(table),
        (std::vector<AdapterInfo> {
            Adapter({ "192", "168", "3", "101" }, "255.255.255.0", "192.168.3.1", "114.114.114.114"),
            Adapter({ "192", "168", "3", "150" }, "255.255.255.0", "192.168.3.1", "192.168.3.1"),
        }));
}

TEST(RecordedReports, ReportWithQuestionMarkForms)
{
    // A Japanese report read through code page 950 without kana: the labels
    // are the "?" forms. "DNS ????" also matches the connection-specific DNS
    // suffix line that opens each adapter block, so each record is completed
    // at its gateway line and holds that suffix line's value as DNS server.
    const AdapterTable table = ParseRecorded("ipconfig_ja_question_marks.txt");
    EXPECT_EQ(FilledSlots(table),
        (std::vector<AdapterInfo> {
            Adapter({ "192", "168", "10", "44" }, "255.255.255.0", "192.168.10.1", ""),
            Adapter({ "172", "20", "1", "9" }, "255.255.0.0", "172.20.0.1", "corp.example"),
        }));
}

// --- The report source ---------------------------------------------------

TEST(ReportSource, PlatformReportCannotStartAndTableStaysUnchanged)
{
    EXPECT_EQ(OpenIpconfigReport(), nullptr);
    AdapterTable table;
    table.count = 1;
    table.slots[0] = Adapter({ "1", "2", "3", "4" }, "m", "g", "d");
    const AdapterTable before = table;
    EXPECT_FALSE(ParseIpconfig(table));
    EXPECT_FALSE(ParseIpconfig(table, [] { return std::unique_ptr<ReportStream>(); }));
    EXPECT_FALSE(ParseIpconfig(table, ReportOpener {}));
    EXPECT_EQ(table.count, before.count);
    EXPECT_EQ(FilledSlots(table), FilledSlots(before));
}

TEST(ReportSource, CollectorRunsTheParserOverItsSource)
{
    AdapterTable table;
    EXPECT_FALSE(MakeIpconfigCollector()(table));
    EXPECT_EQ(table.count, 0);

    const std::string path = std::string(QUILL_TEST_DATA_DIR) + "/ipconfig_zh_tw_big5.txt";
    const AdapterCollector collect = MakeIpconfigCollector([path] { return ReportStream::FromFile(path); });
    EXPECT_TRUE(collect(table));
    EXPECT_EQ(table.count, 2);
}

TEST(ReportSource, EmptyReportStartsAndFindsNothing)
{
    EXPECT_EQ(ParseText("").count, 0);
    EXPECT_EQ(ParseText("\n\nWindows IP Configuration\n\n").count, 0);
}

TEST(ReportSource, RecordsAreAppendedAfterFilledSlots)
{
    AdapterTable table;
    table.count = 1;
    table.slots[0] = Adapter({ "1", "2", "3", "4" }, "m", "g", "d");
    ASSERT_TRUE(ParseIpconfig(table,
        [] { return ReportStream::FromBytes(Block("10.0.0.5", "255.0.0.0", "10.0.0.1", "10.0.0.2")); }));
    ASSERT_EQ(table.count, 2);
    EXPECT_EQ(table.slots[1], Adapter({ "10", "0", "0", "5" }, "255.0.0.0", "10.0.0.1", "10.0.0.2"));
}

// --- Which lines count ---------------------------------------------------

TEST(LineRules, LabelLinesWithoutAUsableColonAreSkipped)
{
    const std::string rest = Line("Physical Address", "00-1A-2B-3C-4D-5E") + Line("IPv4 Address", "10.0.0.5")
        + Line("Subnet Mask", "255.0.0.0") + Line("Default Gateway", "10.0.0.1");
    // Each of these DNS lines is skipped, so the set is never complete.
    for (const std::string& dnsLine : {
             "   DNS Servers 10.0.0.2\n"s, // no ":"
             "   DNS Servers . . . :\n"s, // ":" is the second-to-last byte
             "   DNS Servers . . . :"s, // ":" is the last byte
             ":  DNS Servers 10.0.0.2\n"s, // ":" at position 0
             " : DNS Servers 10.0.0.2\n"s, // ":" at position 1
         })
        EXPECT_EQ(ParseText(rest + dnsLine).count, 0) << dnsLine;

    // ":" at position 2 is far enough in: the value starts at position 4.
    const AdapterTable table = ParseText(rest + "  :xDNS Servers\n");
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(table.slots[0].dnsServer, "DNS Servers");
}

TEST(LineRules, ColonAndBlankBeforeTheNewlineGiveAnEmptyValueThatStillCounts)
{
    const AdapterTable table
        = ParseText(Block("10.0.0.5", "255.0.0.0", "", "") + Block("10.0.0.6", "", "10.0.0.1", "10.0.0.2"));
    EXPECT_EQ(FilledSlots(table),
        (std::vector<AdapterInfo> {
            Adapter({ "10", "0", "0", "5" }, "255.0.0.0", "", ""),
            Adapter({ "10", "0", "0", "6" }, "", "10.0.0.1", "10.0.0.2"),
        }));
}

TEST(LineRules, ValueIsEverythingAfterColonAndBlankUpToTheLastByte)
{
    // No trimming: inner blanks and a carriage return before the newline stay.
    const AdapterTable table = ParseText(Line("Physical Address", "00-1A-2B-3C-4D-5E")
        + Line("IPv4 Address", "10.0.0.5") + Line("Subnet Mask", " 255.0.0.0 ")
        + "   Default Gateway . . : 10.0.0.1\r\n" + "   DNS Servers: 10.0.0.2: 53\n");
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(table.slots[0].subnetMask, " 255.0.0.0 ");
    EXPECT_EQ(table.slots[0].defaultGateway, "10.0.0.1\r");
    EXPECT_EQ(table.slots[0].dnsServer, "10.0.0.2: 53");
}

TEST(LineRules, OnlyTheGatewayAndDnsLabelLinesAreRead)
{
    const AdapterTable table = ParseText(Line("Physical Address", "00-1A-2B-3C-4D-5E")
        + Line("IPv4 Address", "192.168.1.20(Preferred) ") + Line("Subnet Mask", "255.255.255.0")
        + Line("Default Gateway", "fe80::1%12") + "                                       192.168.1.1\n"
        + Line("DNS Servers", "192.168.1.1") + "                                       8.8.8.8\n");
    EXPECT_EQ(FilledSlots(table),
        (std::vector<AdapterInfo> {
            Adapter({ "192", "168", "1", "20" }, "255.255.255.0", "fe80::1%12", "192.168.1.1") }));
}

TEST(LineRules, AddressIsCutBeforeItsFirstParenthesis)
{
    EXPECT_EQ(ParseText(Block("10.1.2.3(Preferred) ", "m", "g", "d")).slots[0].addressParts,
        (std::vector<std::string> { "10", "1", "2", "3" }));
    EXPECT_EQ(ParseText(Block("10.1.2.3 (Duplicate)(x) ", "m", "g", "d")).slots[0].addressParts,
        (std::vector<std::string> { "10", "1", "2", "3 " }));
}

// --- Flags and carried-over values ---------------------------------------

TEST(Flags, PhysicalAddressCountsOnlyWith17BytesAndNotAllZero)
{
    EXPECT_EQ(ParseText(Block("10.0.0.5", "m", "g", "d", "00-00-00-00-00-00")).count, 0);
    EXPECT_EQ(ParseText(Block("10.0.0.5", "m", "g", "d", "00-00-00-00-00-00-00-E0")).count, 0);
    EXPECT_EQ(ParseText(Block("10.0.0.5", "m", "g", "d", "00-1A-2B-3C-4D-5")).count, 0);
    EXPECT_EQ(ParseText(Block("10.0.0.5", "m", "g", "d", "any 17 bytes here")).count, 1);
}

TEST(Flags, NullAddressNeverCountsButReplacesTheText)
{
    EXPECT_EQ(ParseText(Block("0.0.0.0", "m", "g", "d")).count, 0);
    EXPECT_EQ(ParseText(Block("0.0.0.0(Preferred)", "m", "g", "d")).count, 0);

    // An earlier address set the flag; a later "0.0.0.0" replaces its text.
    const AdapterTable table = ParseText(Line("IPv4 Address", "10.0.0.5") + Block("0.0.0.0", "m", "g", "d"));
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(table.slots[0].addressParts, (std::vector<std::string> { "0", "0", "0", "0" }));
}

TEST(Flags, BlockWithoutDnsLineCarriesOverIntoTheNext)
{
    const std::string first = Line("Physical Address", "00-1A-2B-3C-4D-5E") + Line("IPv4 Address", "10.0.0.5")
        + Line("Subnet Mask", "255.0.0.0") + Line("Default Gateway", "10.0.0.1");
    const std::string second = Line("IPv4 Address", "172.16.0.9") + Line("DNS Servers", "172.16.0.53");
    EXPECT_EQ(FilledSlots(ParseText(first + second)),
        (std::vector<AdapterInfo> {
            Adapter({ "172", "16", "0", "9" }, "255.0.0.0", "10.0.0.1", "172.16.0.53") }));
}

TEST(Flags, MadeRecordClearsFlagsButKeepsValues)
{
    // After the first record, the second one needs all five lines again; the
    // values it does not get anew are the previous ones.
    const std::string first = Block("10.0.0.5", "255.0.0.0", "10.0.0.1", "10.0.0.2");
    const std::string partial = Line("Physical Address", "00-1A-2B-3C-4D-5F")
        + Line("IPv4 Address", "10.0.0.6") + Line("DNS Servers", "10.0.0.3");
    EXPECT_EQ(ParseText(first + partial).count, 1);
    const std::string completing = Line("Subnet Mask", "255.255.0.0") + Line("Default Gateway", "10.0.0.254");
    EXPECT_EQ(FilledSlots(ParseText(first + partial + completing)),
        (std::vector<AdapterInfo> {
            Adapter({ "10", "0", "0", "5" }, "255.0.0.0", "10.0.0.1", "10.0.0.2"),
            Adapter({ "10", "0", "0", "6" }, "255.255.0.0", "10.0.0.254", "10.0.0.3"),
        }));
}

TEST(Flags, RefusedAddressMakesNoRecordAndStillClearsTheFlags)
{
    const std::string refused = Block("1.2.3", "255.0.0.0", "10.0.0.1", "10.0.0.2");
    const std::string partial = Line("IPv4 Address", "10.0.0.7") + Line("DNS Servers", "10.0.0.3");
    EXPECT_EQ(ParseText(refused + partial).count, 0);
    EXPECT_EQ(ParseText(Block("fe80::1%12", "m", "g", "d")).count, 0);
}

// --- Pieces and bytes ----------------------------------------------------

TEST(Pieces, LineLongerThan1023BytesArrivesAsSeveralLines)
{
    // The DNS label sits in the second piece of a long line; the piece is a
    // line of its own.
    const std::string prefix = "   Description . . . : " + std::string(1100, 'x');
    const std::string report = Line("Physical Address", "00-1A-2B-3C-4D-5E")
        + Line("IPv4 Address", "10.0.0.5") + Line("Subnet Mask", "255.0.0.0")
        + Line("Default Gateway", "10.0.0.1") + prefix + " DNS Servers: 10.0.0.2\n";
    const AdapterTable table = ParseText(report);
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(table.slots[0].dnsServer, "10.0.0.2");
}

TEST(Pieces, ValueCutByThePieceLimitLosesThePiecesLastByte)
{
    const std::string head = "   DNS Servers . . . : ";
    const std::string longValue = std::string(1100, '7');
    const std::string report = Line("Physical Address", "00-1A-2B-3C-4D-5E")
        + Line("IPv4 Address", "10.0.0.5") + Line("Subnet Mask", "255.0.0.0")
        + Line("Default Gateway", "10.0.0.1") + head + longValue + "\n";
    const AdapterTable table = ParseText(report);
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(table.slots[0].dnsServer, std::string(kReportLineBufferSize - 1 - head.size() - 1, '7'));
}

TEST(Pieces, LastLineWithoutNewlineLosesItsLastCharacter)
{
    std::string report = Block("10.0.0.5", "255.0.0.0", "10.0.0.1", "10.0.0.53");
    report.resize(report.size() - 2); // drop the blank line and the DNS line's newline
    const AdapterTable table = ParseText(report);
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(table.slots[0].dnsServer, "10.0.0.5");
}

TEST(Pieces, ValuesThatAreNotWellFormedUtf8LoseTheBrokenBytes)
{
    const AdapterTable table = ParseText(Block("10.0.\xA4\x6C"
                                               "0.5",
        "255.\xFF"
        "0.0.0",
        "\xE5\xAF\xA6\xB9", "10.0.0.2\xC3"));
    ASSERT_EQ(table.count, 1);
    EXPECT_EQ(table.slots[0], Adapter({ "10", "0", "l0", "5" }, "255.0.0.0", "\xE5\xAF\xA6", "10.0.0.2"));
}

// --- The table limit -----------------------------------------------------

TEST(TableLimit, NinthAndLaterAdaptersAreIgnored)
{
    std::string report;
    for (int i = 0; i < 11; ++i)
        report += Block("10.0.0." + std::to_string(i + 1), "255.0.0.0", "10.0.0.254", "10.0.0.53");
    const AdapterTable table = ParseText(report);
    ASSERT_EQ(table.count, kAdapterSlotCount);
    for (int i = 0; i < kAdapterSlotCount; ++i)
        EXPECT_EQ(table.slots[static_cast<std::size_t>(i)].addressParts.back(), std::to_string(i + 1));
}

} // namespace
