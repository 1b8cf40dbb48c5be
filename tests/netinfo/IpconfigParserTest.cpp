// The ipconfig report parser over recorded reports and hand-made ones.
#include "IpconfigParser.h"
#include "NetinfoTestSupport.h"

#include <gtest/gtest.h>

using namespace quill::netinfo;
using namespace std::string_literals;
using Slots = std::vector<AdapterInfo>;

namespace {

Slots Parse(std::unique_ptr<ReportStream> report)
{
    AdapterTable table;
    EXPECT_TRUE(ParseIpconfig(table, [&] { return std::move(report); }));
    return FilledSlots(table);
}

// One label line as ipconfig prints it: the label, dot leaders, ": ", the value.
std::string Line(const std::string& label, const std::string& value)
{
    return "   " + label + " . . . . . : " + value + "\n";
}

std::string Block(const std::string& ip, const std::string& mac = "00-1A-2B-3C-4D-5E",
    const std::string& gateway = "g", const std::string& dns = "d")
{
    return "Ethernet adapter Ethernet:\n\n" + Line("Physical Address", mac) + Line("IPv4 Address", ip)
        + Line("Subnet Mask", "m") + Line("Default Gateway", gateway) + Line("DNS Servers", dns) + "\n";
}

// Every line but the DNS one, which completes the record of the address kAt.
const std::string kAllButDns = Line("Physical Address", "00-1A-2B-3C-4D-5E")
    + Line("IPv4 Address", "10.0.0.5") + Line("Subnet Mask", "m") + Line("Default Gateway", "g");
const std::vector<std::string> kAt = { "10", "0", "0", "5" };

AdapterInfo Mgd(std::vector<std::string> parts, const std::string& dns = "d")
{
    return { parts, "m", "g", dns };
}

TEST(IpconfigParser, RecordedReportsGiveTheirAdapters)
{
    const struct {
        const char* file;
        Slots expected;
    } cases[] = {
        // The IPv6-only adapter's values carry over into the next record.
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
        // The "?" forms: the gateway's label holds the mask's, and "DNS ????"
        // also matches the DNS suffix line, so records complete at the gateway.
        { "ipconfig_ja_question_marks.txt",
            { { { "192", "168", "10", "44" }, "255.255.255.0", "192.168.10.1", "" },
                { { "172", "20", "1", "9" }, "255.255.0.0", "172.20.0.1", "corp.example" } } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse(ReportStream::FromFile(std::string(QUILL_TEST_DATA_DIR) + "/" + c.file)), c.expected);
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
        // Each of these label lines lacks a usable ":", so the set is never complete.
        { "unusable colons",
            kAllButDns + "   DNS Servers 1\n" + dns + "\n:  DNS Servers 1\n : DNS Servers 1\n" + dns, {} },
        { "colon at 2", kAllButDns + "  :xDNS Servers\n", { Mgd(kAt, "DNS Servers") } },
        { "no trimming", kAllButDns.substr(0, kAllButDns.size() - 1) + "\r\n   DNS Servers:  10.0.0.2: 53\n",
            { { { "10", "0", "0", "5" }, "m", "g\r", " 10.0.0.2: 53" } } },
        // Only the second block's MAC sets the flag, and so completes a record.
        { "MAC of any 17 bytes but zeros",
            Block("10.0.0.5", "00-00-00-00-00-00") + Block("1.0.0.5", "0-1A-2B")
                + Block("1.0.0.6", "any 17 bytes here"),
            { Mgd({ "1", "0", "0", "5" }) } },
        { "null address", Block("0.0.0.0(Preferred)"), {} },
        // An earlier address set the flag; a later "0.0.0.0" replaces its text.
        { "null address replaces the text", Line("IPv4 Address", "1.0.0.5") + Block("0.0.0.0"),
            { Mgd({ "0", "0", "0", "0" }) } },
        { "address split at every dot", Block("1.2.3.4.5(a)(b)") + Block("..a....") + Block("abcdef."),
            { Mgd({ "1", "2", "3", "4", "5" }), Mgd({ "", "", "a", "", "", "", "" }),
                Mgd({ "abcdef", "" }) } },
        // A refused address, or a made record, clears the flags; the values stay.
        { "refused addresses",
            Block("1.2.3.") + Block("1234567") + Block("fe80::1") + Line("IPv4 Address", "1.0.0.7"), {} },
        { "record keeps values, clears flags",
            Block("1.0.0.5") + Line("Physical Address", "00-1A-2B-3C-4D-5F") + Line("IPv4 Address", "1.0.0.6")
                + Line("DNS Servers", "e") + Line("Subnet Mask", "m") + Line("Default Gateway", "g"),
            { Mgd({ "1", "0", "0", "5" }), Mgd({ "1", "0", "0", "6" }, "e") } },
        // A long line arrives in pieces of 1023 bytes; a zero byte ends a line,
        // which then has no newline and loses its last byte.
        { "label in a later piece",
            kAllButDns + "   Note . . :" + std::string(1100, 'x') + " DNS Servers: 1\n", { Mgd(kAt, "1") } },
        { "value cut by the piece limit", kAllButDns + dns + " " + std::string(1100, '7') + "\n",
            { Mgd(kAt, std::string(kReportLineBufferSize - 1 - dns.size() - 2, '7')) } },
        { "zero byte", kAllButDns + dns + " 10.0.0.53\0junk\n"s, { Mgd(kAt, "10.0.0.5") } },
        { "ninth and later adapters are ignored", elevenAdapters, Slots(8, Mgd({ "10", "0", "0", "1" })) },
        { "broken UTF-8 bytes dropped",
            Block("10.0.\xA4l0.5", "00-1A-2B-3C-4D-5E", "\xE5\xAF\xA6\xB9", "1\xC3"),
            { { { "10", "0", "l0", "5" }, "m", "\xE5\xAF\xA6", "1" } } },
    };
    for (const auto& c : cases)
        EXPECT_EQ(Parse(ReportStream::FromBytes(c.report)), c.expected) << c.what;
}

} // namespace
