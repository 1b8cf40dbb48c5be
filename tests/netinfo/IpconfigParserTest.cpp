// The ipconfig report parser over recorded reports and hand-made ones.
#include "IpconfigParser.h"
#include "NetinfoTestSupport.h"

#include <gtest/gtest.h>

using namespace quill::netinfo;
using namespace std::string_literals;
using Slots = std::vector<AdapterInfo>;

namespace {

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

std::string Block(const std::string& ip, const std::string& mask = "m", const std::string& gateway = "g",
    const std::string& dns = "d", const std::string& mac = "00-1A-2B-3C-4D-5E")
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

AdapterInfo Mgd(std::vector<std::string> parts)
{
    return { std::move(parts), "m", "g", "d" };
}

TEST(IpconfigParser, RecordedReportsGiveTheirAdapters)
{
    const struct {
        const char* file;
        Slots expected;
    } cases[] = {
        // Ethernet: "(Preferred)" goes, the second DNS server on its continuation
        // line is not read. The disconnected Wi-Fi makes no record; the VPN has
        // no gateway. The IPv6-only adapter's gateway and DNS values carry over
        // into the record the next adapter's autoconfiguration address completes.
        { "ipconfig_en.txt",
            { { { "192", "168", "1", "20" }, "255.255.255.0", "192.168.1.1", "192.168.1.1" },
                { { "10", "8", "0", "6" }, "255.255.255.255", "", "10.8.0.1" },
                { { "169", "254", "12", "34" }, "255.255.0.0", "fe80::1%17", "2001:db8:10::53" } } },
        { "ipconfig_zh_tw_big5.txt",
            { { { "192", "168", "0", "15" }, "255.255.255.0", "192.168.0.1", "168.95.1.1" },
                { { "10", "0", "0", "8" }, "255.0.0.0", "10.0.0.254", "10.0.0.53" } } },
        { "ipconfig_zh_cn_cp950.txt",
            { { { "192", "168", "3", "101" }, "255.255.255.0", "192.168.3.1", "114.114.114.114" },
                { { "192", "168", "3", "150" }, "255.255.255.0", "192.168.3.1", "192.168.3.1" } } },
        // A Japanese report read through code page 950: the "?" forms, where the
        // gateway's label holds the mask's. "DNS ????" also matches the DNS
        // suffix line that opens each block, so each record is completed at its
        // gateway line and holds that suffix line's value as DNS server.
        { "ipconfig_ja_question_marks.txt",
            { { { "192", "168", "10", "44" }, "255.255.255.0", "192.168.10.1", "" },
                { { "172", "20", "1", "9" }, "255.255.0.0", "172.20.0.1", "corp.example" } } },
    };
    for (const auto& c : cases) {
        const std::string path = std::string(QUILL_TEST_DATA_DIR) + "/" + c.file;
        EXPECT_EQ(Parse([&] { return ReportStream::FromFile(path); }), c.expected) << c.file;
    }
    AdapterTable table;
    EXPECT_FALSE(ParseIpconfig(table)) << "Linux has no ipconfig report";
}

// The line, flag, value and address rules, one report each.
TEST(IpconfigParser, EdgeCases)
{
    std::string elevenAdapters;
    for (int i = 0; i < 11; ++i)
        elevenAdapters += Block("10.0.0.1");
    const std::string dns = "   DNS Servers . . . :";
    const struct {
        const char* what;
        std::string report;
        Slots expected;
    } cases[] = {
        { "empty", "", {} },
        // Each of these label lines lacks a usable ":", so the set is never complete.
        { "unusable colons", kAllButDns + dns + "\n:  DNS Servers 1\n : DNS Servers 1\n" + dns, {} },
        { "no colon", kAllButDns + "   DNS Servers 10.0.0.2\n", {} },
        { "colon at 2", kAllButDns + "  :xDNS Servers\n", { Ten005("DNS Servers") } },
        { "empty values count", Block("10.0.0.5", "255.0.0.0", "", "") + Block("10.0.0.6", "", "g", "x"),
            { { { "10", "0", "0", "5" }, "255.0.0.0", "", "" }, { { "10", "0", "0", "6" }, "", "g", "x" } } },
        { "no trimming", kAllButDns.substr(0, kAllButDns.size() - 1) + "\r\n   DNS Servers: 10.0.0.2: 53\n",
            { { { "10", "0", "0", "5" }, "255.0.0.0", "10.0.0.1\r", "10.0.0.2: 53" } } },
        { "continuation lines are not read",
            kAllButDns + "   10.0.0.9\n" + Line("DNS Servers", "d") + "  8.8.8.8\n", { Ten005("d") } },
        { "address cut at its first parenthesis", Block("10.1.2.3 (Duplicate)(x) "),
            { Mgd({ "10", "1", "2", "3 " }) } },
        { "all-zero or short MAC",
            Block("10.0.0.5", "m", "g", "d", "00-00-00-00-00-00")
                + Block("1.0.0.5", "m", "g", "d", "0-1A-2B"),
            {} },
        { "any 17-byte MAC", Block("1.0.0.5", "m", "g", "d", "any 17 bytes here"),
            { Mgd({ "1", "0", "0", "5" }) } },
        { "null address", Block("0.0.0.0(Preferred)"), {} },
        // An earlier address set the flag; a later "0.0.0.0" replaces its text.
        { "null address replaces the text", Line("IPv4 Address", "10.0.0.5") + Block("0.0.0.0"),
            { Mgd({ "0", "0", "0", "0" }) } },
        { "address split at every dot", Block("1.2.3.4.5") + Block("..a....") + Block("abcdef."),
            { Mgd({ "1", "2", "3", "4", "5" }), Mgd({ "", "", "a", "", "", "", "" }),
                Mgd({ "abcdef", "" }) } },
        { "short or dotless address refused", Block("1.2.3.") + Block("1234567") + Block("fe80::1%12"), {} },
        { "block without DNS carries over",
            kAllButDns + Line("IPv4 Address", "1.0.0.9") + Line("DNS Servers", "d"),
            { { { "1", "0", "0", "9" }, "255.0.0.0", "10.0.0.1", "d" } } },
        // A made record clears the flags but keeps the values; so does a refused address.
        { "record keeps values, clears flags",
            Block("10.0.0.5", "255.0.0.0", "10.0.0.1", "d") + Line("Physical Address", "00-1A-2B-3C-4D-5F")
                + Line("IPv4 Address", "1.0.0.6") + Line("DNS Servers", "e") + Line("Subnet Mask", "n")
                + Line("Default Gateway", "h"),
            { Ten005("d"), { { "1", "0", "0", "6" }, "n", "h", "e" } } },
        { "refused address", Block("1.2.3") + Line("IPv4 Address", "10.0.0.7") + Line("DNS Servers", "d"),
            {} },
        // A long line arrives in pieces of 1023 bytes; a zero byte ends a line
        // as fgets hands it over.
        { "label in a later piece",
            kAllButDns + "   Note . . :" + std::string(1100, 'x') + " DNS Servers: 10.0.0.2\n",
            { Ten005("10.0.0.2") } },
        { "value cut by the piece limit", kAllButDns + dns + " " + std::string(1100, '7') + "\n",
            { Ten005(std::string(kReportLineBufferSize - 1 - dns.size() - 2, '7')) } },
        { "zero byte", kAllButDns + dns + " 10.0.0.53\0junk\n"s, { Ten005("10.0.0.5") } },
        { "last line without newline loses its last character", kAllButDns + dns + " 10.0.0.53",
            { Ten005("10.0.0.5") } },
        { "ninth and later adapters are ignored", elevenAdapters, Slots(8, Mgd({ "10", "0", "0", "1" })) },
        { "broken UTF-8 bytes dropped",
            Block("10.0.\xA4l0.5", "255\xFF.0.0.0", "\xE5\xAF\xA6\xB9", "1.0.0.2\xC3"),
            { { { "10", "0", "l0", "5" }, "255.0.0.0", "\xE5\xAF\xA6", "1.0.0.2" } } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse([&] { return ReportStream::FromBytes(c.report); }), c.expected) << c.what;
}

} // namespace
