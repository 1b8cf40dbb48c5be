#include "TextConversion.h"

#include <gtest/gtest.h>

#include <string>

using quill::text::FilterUtf8;
using quill::text::Utf8ToWide;
using namespace std::string_literals;

namespace {

struct FilterCase {
    const char* name;
    std::string input;
    std::string expected;
};

void PrintTo(const FilterCase& c, std::ostream* os)
{
    *os << c.name;
}

class Utf8Filter : public ::testing::TestWithParam<FilterCase> { };

TEST_P(Utf8Filter, KeepsWellFormedAndDropsTheRest)
{
    EXPECT_EQ(FilterUtf8(GetParam().input), GetParam().expected);
}

// The boundaries of every row of the well-formed table pass; one step outside
// each boundary is dropped; good characters around broken ones survive.
INSTANTIATE_TEST_SUITE_P(Cases, Utf8Filter,
    ::testing::Values(FilterCase { "empty", ""s, ""s },
        FilterCase { "ascii", "192.168.1.20 cam-01"s, "192.168.1.20 cam-01"s },
        FilterCase { "nul_is_a_character", "a\0b"s, "a\0b"s },
        FilterCase { "two_byte_bounds", "\xC2\x80|\xDF\xBF"s, "\xC2\x80|\xDF\xBF"s },
        FilterCase { "three_byte_bounds", "\xE0\xA0\x80|\xED\x9F\xBF|\xEE\x80\x80|\xEF\xBF\xBF"s,
            "\xE0\xA0\x80|\xED\x9F\xBF|\xEE\x80\x80|\xEF\xBF\xBF"s },
        FilterCase {
            "four_byte_bounds", "\xF0\x90\x80\x80|\xF4\x8F\xBF\xBF"s, "\xF0\x90\x80\x80|\xF4\x8F\xBF\xBF"s },
        FilterCase { "replacement_char_kept", "\xEF\xBF\xBD"s, "\xEF\xBF\xBD"s },
        FilterCase { "stray_continuation",
            "a\x80\xBF"s
            "b"s,
            "ab"s },
        FilterCase { "overlong_two_byte", "<\xC0\xAF\xC1\xBF>"s, "<>"s },
        FilterCase { "overlong_three_byte", "<\xE0\x80\xAF\xE0\x9F\xBF>"s, "<>"s },
        FilterCase { "overlong_four_byte", "<\xF0\x8F\xBF\xBF>"s, "<>"s },
        FilterCase { "surrogates", "<\xED\xA0\x80\xED\xBF\xBF\xED\xA0\xBD\xED\xB8\x80>"s, "<>"s },
        FilterCase { "above_10FFFF", "<\xF4\x90\x80\x80\xF5\x80\x80\x80>"s, "<>"s },
        FilterCase { "never_lead_bytes", "<\xF8\x88\x80\x80\x80\xFC\xFE\xFF>"s, "<>"s },
        FilterCase { "truncated_at_end", "ok\xE2\x82"s, "ok"s },
        FilterCase { "truncated_four_at_end", "ok\xF0\x9F\x98"s, "ok"s },
        FilterCase { "truncated_then_ascii",
            "\xE2\x82"
            "a"s,
            "a"s },
        FilterCase { "broken_lead_then_euro", "\xC3\xE2\x82\xAC"s, "\xE2\x82\xAC"s },
        FilterCase { "truncated_three_then_emoji", "\xE2\x82\xF0\x9F\x98\x80"s, "\xF0\x9F\x98\x80"s },
        FilterCase { "truncated_four_then_two", "\xF0\x9F\x98\xC3\xA9"s, "\xC3\xA9"s },
        FilterCase { "lone_lead_before_each_char",
            "\xE0"
            "A\xF0\xC3\xA9\xC2\xE4\xB8\xAD"s,
            "A\xC3\xA9\xE4\xB8\xAD"s },
        FilterCase { "latin1_text", "Caf\xE9 na\xEFve"s, "Caf nave"s }),
    [](const ::testing::TestParamInfo<FilterCase>& info) { return std::string(info.param.name); });

TEST(Utf8ToWide, DecodesWellFormedText)
{
    EXPECT_EQ(Utf8ToWide("00:11:22:AA:BB:CC"), QStringLiteral("00:11:22:AA:BB:CC"));
    EXPECT_EQ(Utf8ToWide("\xE5\xAF\xA6\xE9\xAB\x94 \xF0\x9F\x93\xB7"), QString::fromUtf16(u"實體 📷"));
}

TEST(Utf8ToWide, DropsBrokenSequencesInsteadOfSubstituting)
{
    const QString wide = Utf8ToWide("v1.\xFF"
                                    "2\xC3\xE2\x82\xAC\xED\xA0\x80"
                                    "3\xE2\x82");
    EXPECT_EQ(wide, QString::fromUtf16(u"v1.2€3"));
    EXPECT_FALSE(wide.contains(QChar::ReplacementCharacter));
}

TEST(Utf8ToWide, KeepsEmbeddedNul)
{
    const QString wide = Utf8ToWide("a\0b"s);
    ASSERT_EQ(wide.size(), 3);
    EXPECT_EQ(wide.at(1), QChar(u'\0'));
}

} // namespace
