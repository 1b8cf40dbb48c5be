#include "SortCompare.h"

#include <gtest/gtest.h>

using namespace ListCtrlEx;

TEST(SortCompare, EachModeOrdersItsWayAndDescendingNegates)
{
    constexpr SortMode text = SortMode::Text, number = SortMode::NumberAware;
    const std::tuple<const char16_t*, const char16_t*, SortMode, int> cases[] = { { u"ab", u"abc", text, -1 },
        { u"B", u"a", text, -1 }, { u"\U0001F600", u"\uFFFF", text, -1 }, { u"", u"0", number, 0 },
        { u"-", u"0", number, 0 }, { u"2147483648", u"2147483647", number, 0 },
        { u"1.2.3", u"1.3", number, -1 }, { u"-99999999999", u"-2147483648", number, 0 },
        { u"+1", u"0", number, -1 }, { u"\u0661", u"0", number, 1 } };
    for (const auto& [a, b, mode, expected] : cases) {
        EXPECT_EQ(CompareSortTexts(a, b, mode, 1), expected) << QString::fromUtf16(a).toStdString();
        EXPECT_EQ(CompareSortTexts(a, b, mode, 0), -expected);
    }
}
