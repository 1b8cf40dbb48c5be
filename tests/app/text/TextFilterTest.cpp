// Hand-picked edge cases of the UTF-8 and UTF-16 filters; the fuzz targets
// check well-formed output and round trips on any input.
#include "TextConversion.h"

#include <gtest/gtest.h>

using namespace quill::text;
using namespace std::string_literals;

// One step outside each boundary of the well-formed table is dropped; good
// characters right after broken ones survive.
TEST(Utf8Filter, KeepsWellFormedAndDropsTheRest)
{
    // The first and last character of each row of the well-formed table, and U+FFFD itself.
    const std::string bounds = "\xC2\x80|\xDF\xBF|\xE0\xA0\x80|\xED\x9F\xBF|\xEE\x80\x80|\xEF\xBF\xBF|"
                               "\xF0\x90\x80\x80|\xF4\x8F\xBF\xBF|\xEF\xBF\xBD";
    const std::pair<std::string, std::string> cases[] = {
        { "a\0b"s, "a\0b"s },
        { bounds, bounds },
        { "z\x80\xBFz"s, "zz"s }, // stray continuation bytes
        { "<\xC0\xAF\xC1\xBF\xE0\x80\xAF\xE0\x9F\xBF\xF0\x8F\xBF\xBF>"s, "<>"s }, // overlong
        { "<\xED\xA0\x80\xED\xBF\xBF\xED\xA0\xBD\xED\xB8\x80>"s, "<>"s }, // surrogates
        { "<\xF4\x90\x80\x80\xF5\x80\x80\x80\xF8\x88\x80\x80\x80\xFC\xFE\xFF>"s, "<>"s }, // too high, no lead
        { "ok\xF0\x9F\x98"s, "ok"s },
        { "\xC3\xE2\x82\xAC"s, "\xE2\x82\xAC"s },
        { "\xE0Z\xF0\xC3\xA9\xC2\xE4\xB8\xAD"s, "Z\xC3\xA9\xE4\xB8\xAD"s },

    };
    for (const auto& [input, expected] : cases) {
        EXPECT_EQ(FilterUtf8(input), expected) << testing::PrintToString(input);
        EXPECT_EQ(WideToUtf8(Utf8ToWide(input)), expected) << "dropped, not substituted";
    }
}

TEST(WideToUtf8, DropsUnpairedSurrogatesOnly)
{
    const std::pair<std::u16string, std::string> cases[] = {
        { u"\u5BE6\u9AD4 \u20AC", "\xE5\xAF\xA6\xE9\xAB\x94 \xE2\x82\xAC"s },
        { u"\xD83D\xDCF7", "\xF0\x9F\x93\xB7"s },
        { u"\xDBFF\xDFFF", "\xF4\x8F\xBF\xBF"s },
        { u"ab\xD83D", "ab"s },
        { u"z\xDC00z", "zz"s },
        { u"\xDC00\xD800", ""s },
        { u"\xD800\xD83D\xDCF7", "\xF0\x9F\x93\xB7"s },
        { u"\xD800\u20AC", "\xE2\x82\xAC"s },
        { std::u16string(u"a\0b", 3), "a\0b"s },
    };
    for (const auto& [input, expected] : cases)
        EXPECT_EQ(
            WideToUtf8(QString::fromUtf16(input.data(), static_cast<qsizetype>(input.size()))), expected)
            << testing::PrintToString(expected);
}
