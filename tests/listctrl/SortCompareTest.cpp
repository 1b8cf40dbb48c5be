#include "SortCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

using namespace ListCtrlEx;

namespace {

TEST(SortCompare, NumberTestAcceptsDigitsOneStopAndLeadingMinus)
{
    const struct {
        const char16_t* text;
        bool number;
    } cases[] = {
        { u"", true }, { u"-", true }, { u".", true }, { u"-.", true }, { u"0", true }, { u"-12", true },
        { u"1.9", true }, { u"12.", true }, { u"1.2.3", false }, { u"1-2", false }, { u"--1", false },
        { u"+1", false }, { u" 1", false }, { u"1e5", false }, { u"abc", false },
        { u"\u0661", false }, // Arabic-Indic digit one: not 0 to 9
    };
    for (const auto& c : cases)
        EXPECT_EQ(IsNumberText(QStringView(c.text)), c.number) << QString::fromUtf16(c.text).toStdString();
}

TEST(SortCompare, LeadingIntegerStopsAtFirstNonDigitAndClamps)
{
    constexpr int kMax = std::numeric_limits<int>::max();
    constexpr int kMin = std::numeric_limits<int>::min();
    const struct {
        const char16_t* text;
        int value;
    } cases[] = {
        { u"12.9", 12 },
        { u"", 0 },
        { u"-", 0 },
        { u".", 0 },
        { u"-.5", 0 },
        { u"-3", -3 },
        { u"007", 7 },
        { u"2147483647", kMax },
        { u"-2147483648", kMin },
        { u"2147483648", kMax },
        { u"-2147483649", kMin },
        { u"99999999999999999999999999", kMax },
        { u"-99999999999999999999999999", kMin },
    };
    for (const auto& c : cases)
        EXPECT_EQ(ReadLeadingInt(QStringView(c.text)), c.value) << QString::fromUtf16(c.text).toStdString();
}

TEST(SortCompare, CodeUnitOrderIsUnsignedAndPrefixFirst)
{
    EXPECT_EQ(CompareCodeUnits(u"abc", u"abc"), 0);
    EXPECT_EQ(CompareCodeUnits(u"ab", u"abc"), -1);
    EXPECT_EQ(CompareCodeUnits(u"abd", u"abc"), 1);
    EXPECT_EQ(CompareCodeUnits(u"", u"a"), -1);
    // Units compare as numbers, not by locale or case.
    EXPECT_EQ(CompareCodeUnits(u"B", u"a"), -1);
    EXPECT_EQ(CompareCodeUnits(u"\u00e9", u"z"), 1);
    EXPECT_EQ(CompareCodeUnits(u"\U0001F600", u"\uFFFF"), -1); // surrogates are units below 0xFFFF
}

TEST(SortCompare, NumberAwareOrdersNumbersByValue)
{
    std::vector<QString> texts { QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("-3") };
    std::stable_sort(texts.begin(), texts.end(),
        [](const QString& a, const QString& b) { return CompareNumberAware(a, b) < 0; });
    EXPECT_EQ(
        texts, (std::vector<QString> { QStringLiteral("-3"), QStringLiteral("9"), QStringLiteral("10") }));

    EXPECT_EQ(CompareNumberAware(u"1.9", u"1.2"), 0);
    EXPECT_EQ(CompareNumberAware(u"", u"0"), 0);
    EXPECT_EQ(CompareNumberAware(u"-", u"."), 0);
    // One text is no number: code-unit order, so "10" before "abc".
    EXPECT_EQ(CompareNumberAware(u"abc", u"10"), 1);
    EXPECT_EQ(CompareNumberAware(u"10", u"abc"), -1);
    EXPECT_EQ(CompareNumberAware(u"10", u"9x"), -1);
}

TEST(SortCompare, DescendingNegatesAndTextModeIgnoresValues)
{
    EXPECT_EQ(CompareSortTexts(u"9", u"10", SortMode::NumberAware, 1), -1);
    EXPECT_EQ(CompareSortTexts(u"9", u"10", SortMode::NumberAware, 0), 1);
    EXPECT_EQ(CompareSortTexts(u"9", u"10", SortMode::Text, 1), 1);
    EXPECT_EQ(CompareSortTexts(u"9", u"10", SortMode::Text, 0), -1);
    EXPECT_EQ(CompareSortTexts(u"1.9", u"1.2", SortMode::NumberAware, 0), 0);
}

} // namespace
