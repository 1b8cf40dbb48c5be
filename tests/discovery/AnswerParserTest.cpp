// Hand-picked edge cases of the answer parser; the fuzz target covers the rest.
#include "AnswerParser.h"
#include "DeviceLogLine.h"

#include <gtest/gtest.h>

using quill::discovery::DeviceRecord;
using quill::discovery::ParseAnswer;
using namespace std::string_literals;

TEST(AnswerParser, AcceptsExactlyFiveSpaceSeparatedTokensWithinFiveHundredBytes)
{
    const std::optional<DeviceRecord> ignored;
    const std::string head = "ip sn mac name ";
    const std::pair<std::string, std::optional<DeviceRecord>> cases[] {
        { "192.168.1.20 SN0001 00:11:22:AA:BB:CC Cam-Door V1.2.3"s,
            DeviceRecord { "192.168.1.20", "SN0001", "00:11:22:AA:BB:CC", "Cam-Door", "V1.2.3" } },
        // Seven bytes is the shortest accepted answer; empty tokens are tokens.
        { "    abc"s, DeviceRecord { "", "", "", "", "abc" } },
        { "    ab"s, ignored },
        { "a\tb c\r d e f\n"s, DeviceRecord { "a\tb", "c\r", "d", "e", "f\n" } },
        // A zero byte ends the text.
        { "a b c d e\0 more words here"s, DeviceRecord { "a", "b", "c", "d", "e" } },
        { "\0a b c d e"s, ignored },
        { "a b c\0 d e f"s, ignored },
        { "update"s, ignored },
        { "a b c d"s, ignored },
        { "ip sn mac Front Door fw"s, ignored },
        { "ip sn mac name fw "s, ignored },
        // Only the first 500 bytes count: a sixth token beyond them is not seen,
        // a space as byte 500 makes an empty sixth token.
        { head + std::string(485, 'f') + " " + std::string(99, 'x'),
            DeviceRecord { "ip", "sn", "mac", "name", std::string(485, 'f') } },
        { head + std::string(484, 'f') + " tail", ignored },
    };
    for (const auto& [datagram, expected] : cases)
        EXPECT_EQ(ParseAnswer(datagram), expected) << '"' << datagram.substr(0, 40) << '"';
}

// A camera's line feed or bidi control cannot start a record of its own or turn the line around.
TEST(DeviceLogLine, WritesFieldsSafely)
{
    const DeviceRecord record { "1.2.3.4", "SN%d", "mac", "Cam\n2026-01-01 <critical>\tport conflict!",
        "1\u202E0" };
    EXPECT_EQ(quill::discovery::FormatDeviceLogLine(record),
        "IP: 1.2.3.4, SN: SN%d, MAC: mac, device_name: Cam<U+000A>2026-01-01 <critical><U+0009>port "
        "conflict!, "
        "FW: 1<U+202E>0");
}
