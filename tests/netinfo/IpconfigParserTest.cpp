#include "IpconfigParser.h"
#include "NetinfoTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace quill::netinfo;
using Slots = std::vector<AdapterInfo>;

namespace {

const std::string kDataDir = QUILL_TEST_DATA_DIR;

Slots Parse(const ReportOpener& open)
{
    AdapterTable table;
    EXPECT_TRUE(ParseIpconfig(table, open));
    return FilledSlots(table);
}

// One label line as ipconfig prints it: the label, dot leaders, ": ", the value.
std::string Line(const std::string& label, const std::string& value)
{
    return "   " + label + " . . . . . : " + value + "\n";
}

std::string Block(const std::string& ip, const std::string& mask, const std::string& gateway,
    const std::string& dns, const std::string& mac = "00-1A-2B-3C-4D-5E")
{
    return "Ethernet adapter Ethernet:\n\n" + Line("Physical Address", mac) + Line("IPv4 Address", ip)
        + Line("Subnet Mask", mask) + Line("Default Gateway", gateway) + Line("DNS Servers", dns) + "\n";
}

// Every line but the DNS one, which completes the record.
const std::string kAllButDns = Line("Physical Address", "00-1A-2B-3C-4D-5E")
    + Line("IPv4 Address", "10.0.0.5") + Line("Subnet Mask", "255.0.0.0")
    + Line("Default Gateway", "10.0.0.1");

AdapterInfo Ten005(const std::string& dns)
{
    return { { "10", "0", "0", "5" }, "255.0.0.0", "10.0.0.1", dns };
}

TEST(RecordedReports, GiveTheirAdapters)
{
    const struct {
        const char* file;
        Slots expected;
    } cases[] = {
        { "ipconfig_en.txt",
            {
                // Ethernet: "(Preferred)" goes; the second DNS server on its
                // continuation line is not read.
                { { "192", "168", "1", "20" }, "255.255.255.0", "192.168.1.1", "192.168.1.1" },
                // The disconnected Wi-Fi has no IPv4 lines and makes no record;
                // the VPN after it has an empty gateway.
                { { "10", "8", "0", "6" }, "255.255.255.255", "", "10.8.0.1" },
                // The IPv6-only adapter completes nothing; its gateway and DNS
                // values carry over into the record that the next adapter's
                // autoconfiguration address completes at its mask line.
                { { "169", "254", "12", "34" }, "255.255.0.0", "fe80::1%17", "2001:db8:10::53" },
            } },
        { "ipconfig_zh_tw_big5.txt",
            {
                { { "192", "168", "0", "15" }, "255.255.255.0", "192.168.0.1", "168.95.1.1" },
                { { "10", "0", "0", "8" }, "255.0.0.0", "10.0.0.254", "10.0.0.53" },
            } },
        { "ipconfig_zh_cn_cp950.txt",
            {
                { { "192", "168", "3", "101" }, "255.255.255.0", "192.168.3.1", "114.114.114.114" },
                { { "192", "168", "3", "150" }, "255.255.255.0", "192.168.3.1", "192.168.3.1" },
            } },
        // A Japanese report read through code page 950: the "?" forms. "DNS ????"
        // also matches the connection-specific DNS suffix line that opens each
        // block, so each record is completed at its gateway line and holds that
        // suffix line's value as DNS server.
        { "ipconfig_ja_question_marks.txt",
            {
                { { "192", "168", "10", "44" }, "255.255.255.0", "192.168.10.1", "" },
                { { "172", "20", "1", "9" }, "255.255.0.0", "172.20.0.1", "corp.example" },
            } },
    };
    for (const auto& c : cases) {
        const std::string path = kDataDir + "/" + c.file;
        EXPECT_EQ(Parse([&] { return ReportStream::FromFile(path); }), c.expected) << c.file;
    }
}

TEST(ReportSource, PlatformReportCannotStartAndTableStaysUnchanged)
{
    EXPECT_EQ(OpenIpconfigReport(), nullptr);
    AdapterTable table;
    table.count = 1;
    table.slots[0] = { { "1", "2", "3", "4" }, "m", "g", "d" };
    const Slots before = FilledSlots(table);
    EXPECT_FALSE(ParseIpconfig(table));
    EXPECT_FALSE(ParseIpconfig(table, [] { return std::unique_ptr<ReportStream>(); }));
    EXPECT_FALSE(ParseIpconfig(table, ReportOpener {}));
    EXPECT_FALSE(MakeIpconfigCollector()(table));
    EXPECT_EQ(FilledSlots(table), before);

    // Records go after the filled slots.
    const std::string path = kDataDir + "/ipconfig_zh_tw_big5.txt";
    EXPECT_TRUE(MakeIpconfigCollector([path] { return ReportStream::FromFile(path); })(table));
    EXPECT_EQ(table.count, 3);
    EXPECT_EQ(table.slots[0], before[0]);
}

// The line, flag and value rules, one report each.
TEST(IpconfigParser, EdgeCases)
{
    std::string elevenAdapters;
    Slots firstEight;
    for (int i = 1; i <= 11; ++i) {
        elevenAdapters += Block("10.0.0." + std::to_string(i), "m", "g", "d");
        if (i <= kAdapterSlotCount)
            firstEight.push_back({ { "10", "0", "0", std::to_string(i) }, "m", "g", "d" });
    }
    const std::string head = "   DNS Servers . . . : ";
    std::string noFinalNewline = Block("10.0.0.5", "255.0.0.0", "10.0.0.1", "10.0.0.53");
    noFinalNewline.resize(noFinalNewline.size() - 2); // the blank line and the DNS line's newline
    const struct {
        const char* what;
        std::string report;
        Slots expected;
    } cases[] = {
        { "empty", "", {} },
        { "header only", "\n\nWindows IP Configuration\n\n", {} },
        // A label line without a usable ":" is skipped, so the set is never complete.
        { "no colon", kAllButDns + "   DNS Servers 10.0.0.2\n", {} },
        { "colon second-to-last", kAllButDns + "   DNS Servers . . . :\n", {} },
        { "colon last", kAllButDns + "   DNS Servers . . . :", {} },
        { "colon at 0", kAllButDns + ":  DNS Servers 10.0.0.2\n", {} },
        { "colon at 1", kAllButDns + " : DNS Servers 10.0.0.2\n", {} },
        { "colon at 2", kAllButDns + "  :xDNS Servers\n", { Ten005("DNS Servers") } },
        { "empty values count",
            Block("10.0.0.5", "255.0.0.0", "", "") + Block("10.0.0.6", "", "10.0.0.1", "10.0.0.2"),
            { { { "10", "0", "0", "5" }, "255.0.0.0", "", "" },
                { { "10", "0", "0", "6" }, "", "10.0.0.1", "10.0.0.2" } } },
        { "no trimming",
            Line("Physical Address", "00-1A-2B-3C-4D-5E") + Line("IPv4 Address", "10.0.0.5")
                + Line("Subnet Mask", " 255.0.0.0 ") + "   Default Gateway . . : 10.0.0.1\r\n"
                + "   DNS Servers: 10.0.0.2: 53\n",
            { { { "10", "0", "0", "5" }, " 255.0.0.0 ", "10.0.0.1\r", "10.0.0.2: 53" } } },
        { "continuation lines are not read",
            Line("Physical Address", "00-1A-2B-3C-4D-5E") + Line("IPv4 Address", "192.168.1.20(Preferred) ")
                + Line("Subnet Mask", "255.255.255.0") + Line("Default Gateway", "fe80::1%12")
                + "                                       192.168.1.1\n" + Line("DNS Servers", "192.168.1.1")
                + "                                       8.8.8.8\n",
            { { { "192", "168", "1", "20" }, "255.255.255.0", "fe80::1%12", "192.168.1.1" } } },
        { "address cut at its first parenthesis", Block("10.1.2.3 (Duplicate)(x) ", "m", "g", "d"),
            { { { "10", "1", "2", "3 " }, "m", "g", "d" } } },
        { "all-zero MAC", Block("10.0.0.5", "m", "g", "d", "00-00-00-00-00-00"), {} },
        { "long MAC", Block("10.0.0.5", "m", "g", "d", "00-00-00-00-00-00-00-E0"), {} },
        { "short MAC", Block("10.0.0.5", "m", "g", "d", "00-1A-2B-3C-4D-5"), {} },
        { "any 17-byte MAC", Block("10.0.0.5", "m", "g", "d", "any 17 bytes here"),
            { { { "10", "0", "0", "5" }, "m", "g", "d" } } },
        { "null address", Block("0.0.0.0(Preferred)", "m", "g", "d"), {} },
        // An earlier address set the flag; a later "0.0.0.0" replaces its text.
        { "null address replaces the text",
            Line("IPv4 Address", "10.0.0.5") + Block("0.0.0.0", "m", "g", "d"),
            { { { "0", "0", "0", "0" }, "m", "g", "d" } } },
        { "block without DNS carries over",
            kAllButDns + Line("IPv4 Address", "172.16.0.9") + Line("DNS Servers", "172.16.0.53"),
            { { { "172", "16", "0", "9" }, "255.0.0.0", "10.0.0.1", "172.16.0.53" } } },
        // A made record clears the flags but keeps the values.
        { "record clears flags",
            Block("10.0.0.5", "255.0.0.0", "10.0.0.1", "10.0.0.2")
                + Line("Physical Address", "00-1A-2B-3C-4D-5F") + Line("IPv4 Address", "10.0.0.6")
                + Line("DNS Servers", "10.0.0.3"),
            { Ten005("10.0.0.2") } },
        { "record keeps values",
            Block("10.0.0.5", "255.0.0.0", "10.0.0.1", "10.0.0.2")
                + Line("Physical Address", "00-1A-2B-3C-4D-5F") + Line("IPv4 Address", "10.0.0.6")
                + Line("DNS Servers", "10.0.0.3") + Line("Subnet Mask", "255.255.0.0")
                + Line("Default Gateway", "10.0.0.254"),
            { Ten005("10.0.0.2"), { { "10", "0", "0", "6" }, "255.255.0.0", "10.0.0.254", "10.0.0.3" } } },
        { "refused address still clears the flags",
            Block("1.2.3", "255.0.0.0", "10.0.0.1", "10.0.0.2") + Line("IPv4 Address", "10.0.0.7")
                + Line("DNS Servers", "10.0.0.3"),
            {} },
        { "IPv6 address refused", Block("fe80::1%12", "m", "g", "d"), {} },
        // A long line arrives in pieces; the label in the second piece counts.
        { "label in a later piece",
            kAllButDns + "   Description . . . : " + std::string(1100, 'x') + " DNS Servers: 10.0.0.2\n",
            { Ten005("10.0.0.2") } },
        { "value cut by the piece limit loses the piece's last byte",
            kAllButDns + head + std::string(1100, '7') + "\n",
            { Ten005(std::string(kReportLineBufferSize - 1 - head.size() - 1, '7')) } },
        { "last line without newline loses its last character", noFinalNewline, { Ten005("10.0.0.5") } },
        { "ninth and later adapters are ignored", elevenAdapters, firstEight },
        { "broken UTF-8 bytes dropped",
            Block("10.0.\xA4\x6C"
                  "0.5",
                "255.\xFF"
                "0.0.0",
                "\xE5\xAF\xA6\xB9", "10.0.0.2\xC3"),
            { { { "10", "0", "l0", "5" }, "255.0.0.0", "\xE5\xAF\xA6", "10.0.0.2" } } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse([&] { return ReportStream::FromBytes(c.report); }), c.expected) << c.what;
}

} // namespace
