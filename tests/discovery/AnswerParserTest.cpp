#include "AnswerParser.h"
#include "DiscoveryProtocol.h"

#include <gtest/gtest.h>

#include <string>

using quill::discovery::DeviceRecord;
using quill::discovery::ParseAnswer;
using namespace std::string_literals;

namespace {

struct AcceptedCase {
    const char* name;
    std::string datagram;
    DeviceRecord expected;
};

void PrintTo(const AcceptedCase& c, std::ostream* os)
{
    *os << c.name;
}

class AcceptedAnswer : public ::testing::TestWithParam<AcceptedCase> { };

TEST_P(AcceptedAnswer, GivesTheFiveTokensInOrder)
{
    const auto record = ParseAnswer(GetParam().datagram);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(*record, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, AcceptedAnswer,
    ::testing::Values(AcceptedCase { "five_words", "192.168.1.20 SN0001 00:11:22:AA:BB:CC Cam-Door V1.2.3"s,
                          { "192.168.1.20", "SN0001", "00:11:22:AA:BB:CC", "Cam-Door", "V1.2.3" } },
        AcceptedCase {
            "line_feed_stays_in_fw", "ip sn mac name fw\n"s, { "ip", "sn", "mac", "name", "fw\n" } },
        AcceptedCase { "four_spaces_then_letters", "    abc"s, { "", "", "", "", "abc" } },
        AcceptedCase { "five_letters", "a b c d e"s, { "a", "b", "c", "d", "e" } },
        AcceptedCase { "double_space_gives_empty_token", "a  c d e"s, { "a", "", "c", "d", "e" } },
        AcceptedCase {
            "leading_space_gives_empty_ip", " sn mac name fw"s, { "", "sn", "mac", "name", "fw" } },
        AcceptedCase { "tab_and_cr_are_token_bytes", "a\tb c\r d e f"s, { "a\tb", "c\r", "d", "e", "f" } },
        AcceptedCase { "zero_byte_ends_text", "a b c d e\0 more words here"s, { "a", "b", "c", "d", "e" } },
        AcceptedCase { "trailing_zero_byte", "1.2.3.4 s m n f\0"s, { "1.2.3.4", "s", "m", "n", "f" } },
        AcceptedCase { "any_bytes_kept", "\xFF\xFE s\x80 %s%n \xE5\xAF\xA6 \x01"s,
            { "\xFF\xFE", "s\x80", "%s%n", "\xE5\xAF\xA6", "\x01" } }),
    [](const ::testing::TestParamInfo<AcceptedCase>& info) { return std::string(info.param.name); });

struct IgnoredCase {
    const char* name;
    std::string datagram;
};

void PrintTo(const IgnoredCase& c, std::ostream* os)
{
    *os << c.name;
}

class IgnoredAnswer : public ::testing::TestWithParam<IgnoredCase> { };

TEST_P(IgnoredAnswer, GivesNoRecord)
{
    EXPECT_FALSE(ParseAnswer(GetParam().datagram).has_value());
}

INSTANTIATE_TEST_SUITE_P(Cases, IgnoredAnswer,
    ::testing::Values(IgnoredCase { "empty", ""s },
        IgnoredCase { "own_query", std::string(quill::discovery::kQueryPayload) },
        IgnoredCase { "six_bytes_of_five_tokens",
            "a b  c"s
            "\0"s },
        IgnoredCase { "zero_byte_first", "\0a b c d e"s },
        IgnoredCase { "short_before_zero_byte", "a b c\0 d e f"s }, IgnoredCase { "no_space", "abcdefghij"s },
        IgnoredCase { "four_tokens", "a b c d"s },
        IgnoredCase { "space_in_device_name", "ip sn mac Front Door fw"s },
        IgnoredCase { "trailing_space", "ip sn mac name fw "s }, IgnoredCase { "only_spaces", "       "s }),
    [](const ::testing::TestParamInfo<IgnoredCase>& info) { return std::string(info.param.name); });

TEST(AnswerLength, ExactlyFiveHundredBytesAreAllText)
{
    const std::string head = "ip sn mac name ";
    const std::string datagram = head + std::string(500 - head.size(), 'f');
    const auto record = ParseAnswer(datagram);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->fw.size(), 500 - head.size());
}

TEST(AnswerLength, LongerDatagramIsCutAtFiveHundredBytes)
{
    const std::string head = "ip sn mac name ";
    // 600 bytes whose sixth token starts beyond byte 500: only the cut text counts.
    const std::string datagram = head + std::string(500 - head.size(), 'f') + " " + std::string(99, 'x');
    ASSERT_EQ(datagram.size(), 600u);
    const auto record = ParseAnswer(datagram);
    ASSERT_TRUE(record.has_value());
    EXPECT_EQ(record->fw, std::string(500 - head.size(), 'f'));
}

TEST(AnswerLength, SpaceAsFiveHundredthByteMakesAnEmptySixthToken)
{
    const std::string head = "ip sn mac name ";
    const std::string datagram = head + std::string(499 - head.size(), 'f') + " " + "tail";
    EXPECT_FALSE(ParseAnswer(datagram).has_value());
}

TEST(AnswerLength, SevenBytesIsTheShortestAccepted)
{
    EXPECT_FALSE(ParseAnswer("    ab").has_value());
    EXPECT_TRUE(ParseAnswer("    abc").has_value());
}

} // namespace
