#include "SortCompare.h"

#include <gtest/gtest.h>

#include <limits>

using namespace ListCtrlEx;

namespace {

TEST(SortCompare, NumberTestAndLeadingInteger)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    // Digits, one stop and a leading minus make a number; the value stops at the
    // first non-digit and clamps to int.
    const struct {
        const char16_t* text;
        bool number;
        int value;
    } cases[] = {
        { u"", true, 0 }, { u"-", true, 0 }, { u"-.5", true, 0 }, { u"007", true, 7 }, { u"-3", true, -3 },
        { u"12.9", true, 12 }, { u"12.", true, 12 }, { u"2147483648", true, kMax },
        { u"-2147483649", true, kMin }, { u"99999999999999999999999999", true, kMax }, { u"1.2.3", false, 1 },
        { u"1-2", false, 1 }, { u"--1", false, 0 }, { u"+1", false, 1 }, { u" 1", false, 0 },
        { u"1e5", false, 1 }, { u"abc", false, 0 },
        { u"\u0661", false, 0 }, // Arabic-Indic digit one: not 0 to 9
    };
    for (const auto& c : cases) {
        const QStringView text(c.text);
        EXPECT_EQ(IsNumberText(text), c.number) << text.toString().toStdString();
        EXPECT_EQ(ReadLeadingInt(text), c.value) << text.toString().toStdString();
    }
}

TEST(SortCompare, CodeUnitOrderIsUnsignedAndPrefixFirst)
{
    EXPECT_EQ(CompareCodeUnits(u"abc", u"abc"), 0);
    EXPECT_EQ(CompareCodeUnits(u"ab", u"abc"), -1);
    EXPECT_EQ(CompareCodeUnits(u"abd", u"abc"), 1);
    // Units compare as numbers, not by locale or case.
    EXPECT_EQ(CompareCodeUnits(u"B", u"a"), -1);
    EXPECT_EQ(CompareCodeUnits(u"\U0001F600", u"\uFFFF"), -1); // surrogates are units below 0xFFFF
}

TEST(SortCompare, NumberAwareByValueElseTextAndDescendingNegates)
{
    EXPECT_EQ(CompareNumberAware(u"-3", u"9"), -1);
    EXPECT_EQ(CompareNumberAware(u"9", u"10"), -1);
    EXPECT_EQ(CompareNumberAware(u"1.9", u"1.2"), 0);
    EXPECT_EQ(CompareNumberAware(u"", u"0"), 0);
    // One text is no number: code-unit order, so "10" before "abc".
    EXPECT_EQ(CompareNumberAware(u"abc", u"10"), 1);
    EXPECT_EQ(CompareNumberAware(u"10", u"9x"), -1);

    EXPECT_EQ(CompareSortTexts(u"9", u"10", SortMode::NumberAware, 1), -1);
    EXPECT_EQ(CompareSortTexts(u"9", u"10", SortMode::NumberAware, 0), 1);
    EXPECT_EQ(CompareSortTexts(u"9", u"10", SortMode::Text, 1), 1);
}

} // namespace
