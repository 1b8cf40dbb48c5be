#include "AnswerParser.h"
#include "DeviceLogLine.h"
#include "DiscoveryProtocol.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

using quill::discovery::DeviceRecord;
using quill::discovery::FormatDeviceLogLine;
using quill::discovery::ParseAnswer;
using namespace std::string_literals;

namespace {

const std::string kHead = "ip sn mac name ";

TEST(AnswerParser, AcceptsExactlyFiveSpaceSeparatedTokensWithinFiveHundredBytes)
{
    const std::optional<DeviceRecord> ignored;
    const std::pair<std::string, std::optional<DeviceRecord>> cases[] {
        { "192.168.1.20 SN0001 00:11:22:AA:BB:CC Cam-Door V1.2.3"s,
            DeviceRecord { "192.168.1.20", "SN0001", "00:11:22:AA:BB:CC", "Cam-Door", "V1.2.3" } },
        { "ip sn mac name fw\n"s, DeviceRecord { "ip", "sn", "mac", "name", "fw\n" } },
        // Seven bytes is the shortest accepted answer; empty tokens are tokens.
        { "    abc"s, DeviceRecord { "", "", "", "", "abc" } },
        { "    ab"s, ignored },
        { "a  c d e"s, DeviceRecord { "a", "", "c", "d", "e" } },
        { "a\tb c\r d e f"s, DeviceRecord { "a\tb", "c\r", "d", "e", "f" } },
        // A zero byte ends the text.
        { "a b c d e\0 more words here"s, DeviceRecord { "a", "b", "c", "d", "e" } },
        { "\0a b c d e"s, ignored },
        { "a b c\0 d e f"s, ignored },
        { "a b  c\0"s, ignored },
        { "\xFF\xFE s\x80 %s%n \xE5\xAF\xA6 \x01"s,
            DeviceRecord { "\xFF\xFE", "s\x80", "%s%n", "\xE5\xAF\xA6", "\x01" } },
        { ""s, ignored },
        { std::string(quill::discovery::kQueryPayload), ignored },
        { "abcdefghij"s, ignored },
        { "a b c d"s, ignored },
        { "ip sn mac Front Door fw"s, ignored },
        { "ip sn mac name fw "s, ignored },
        { "       "s, ignored },
        // Only the first 500 bytes count: a sixth token beyond them is not seen,
        // a space as byte 500 makes an empty sixth token.
        { kHead + std::string(485, 'f'), DeviceRecord { "ip", "sn", "mac", "name", std::string(485, 'f') } },
        { kHead + std::string(485, 'f') + " " + std::string(99, 'x'),
            DeviceRecord { "ip", "sn", "mac", "name", std::string(485, 'f') } },
        { kHead + std::string(484, 'f') + " tail", ignored },
    };
    for (const auto& [datagram, expected] : cases)
        EXPECT_EQ(ParseAnswer(datagram), expected) << '"' << datagram.substr(0, 40) << '"';
}

TEST(DeviceLogLine, NamesTheFiveFieldsAndKeepsTheirBytes)
{
    const DeviceRecord record { "192.168.1.20", "SN0001", "00:11:22:AA:BB:CC", "Cam-Door", "V1.2.3" };
    EXPECT_EQ(FormatDeviceLogLine(record),
        "IP: 192.168.1.20, SN: SN0001, MAC: 00:11:22:AA:BB:CC, device_name: Cam-Door, FW: V1.2.3");
    // Format directives in a field are text, and broken UTF-8 passes untouched.
    EXPECT_EQ(FormatDeviceLogLine({ "%s%n", "%d%%", "%1%", "\xFF\xE5\xAF", "1.0\n" }),
        "IP: %s%n, SN: %d%%, MAC: %1%, device_name: \xFF\xE5\xAF, FW: 1.0\n"s);
}

} // namespace
