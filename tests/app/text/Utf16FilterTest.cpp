#include "TextConversion.h"

#include <gtest/gtest.h>

#include <string>

using quill::text::Utf8ToWide;
using quill::text::WideToUtf8;
using namespace std::string_literals;

namespace {

QString FromUnits(std::u16string units)
{
    return QString(reinterpret_cast<const QChar*>(units.data()), static_cast<qsizetype>(units.size()));
}

struct WideCase {
    const char* name;
    std::u16string input;
    std::string expected;
};

void PrintTo(const WideCase& c, std::ostream* os)
{
    *os << c.name;
}

class WideFilter : public ::testing::TestWithParam<WideCase> { };

TEST_P(WideFilter, DropsUnpairedSurrogatesOnly)
{
    EXPECT_EQ(WideToUtf8(FromUnits(GetParam().input)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, WideFilter,
    ::testing::Values(WideCase { "empty", u"", ""s }, WideCase { "ascii", u"10.0.0.1", "10.0.0.1"s },
        WideCase { "bmp", u"\u5BE6\u9AD4 \u20AC", "\xE5\xAF\xA6\xE9\xAB\x94 \xE2\x82\xAC"s },
        WideCase { "pair", u"\xD83D\xDCF7", "\xF0\x9F\x93\xB7"s },
        WideCase { "last_pair_10FFFF", u"\xDBFF\xDFFF", "\xF4\x8F\xBF\xBF"s },
        WideCase { "high_at_end", u"ab\xD83D", "ab"s },
        WideCase { "low_alone",
            u"a\xDC00"
            u"b",
            "ab"s },
        WideCase { "high_then_ascii",
            u"\xD800"
            u"a",
            "a"s },
        WideCase { "reversed_pair", u"\xDC00\xD800", ""s },
        WideCase { "two_highs_then_low", u"\xD800\xD83D\xDCF7", "\xF0\x9F\x93\xB7"s },
        WideCase { "high_then_bmp", u"\xD800\u20AC", "\xE2\x82\xAC"s },
        WideCase { "nul_kept", std::u16string(u"a\0b", 3), "a\0b"s }),
    [](const ::testing::TestParamInfo<WideCase>& info) { return std::string(info.param.name); });

TEST(WideToUtf8, RoundTripsThroughUtf8ToWide)
{
    const std::string utf8
        = "IP: 192.168.1.20 \xE5\xAF\xA6\xE9\xAB\x94\xE4\xBD\x8D\xE5\x9D\x80 \xF0\x9F\x93\xB7";
    EXPECT_EQ(WideToUtf8(Utf8ToWide(utf8)), utf8);
}

} // namespace
