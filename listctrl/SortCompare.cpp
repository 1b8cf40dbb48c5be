#include "SortCompare.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace ListCtrlEx {

namespace {

    bool IsNumberText(QStringView text)
    {
        if (text.count(QLatin1Char('.')) > 1)
            return false;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar ch = text[i];
            if ((ch == QLatin1Char('-') && i == 0) || ch == QLatin1Char('.'))
                continue;
            if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
                return false;
        }
        return true;
    }

    // The integer at the start of a number text, clamped to the 32-bit range.
    int ReadLeadingInt(QStringView text)
    {
        constexpr std::int64_t kMax = std::numeric_limits<int>::max();
        constexpr std::int64_t kMin = std::numeric_limits<int>::min();
        const bool negative = text.startsWith(QLatin1Char('-'));
        // A magnitude that stops growing once past the range cannot overflow.
        std::int64_t magnitude = 0;
        for (qsizetype i = negative ? 1 : 0; i < text.size(); ++i) {
            const QChar ch = text[i];
            if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
                break;
            if (magnitude <= kMax + 1)
                magnitude = magnitude * 10 + (ch.unicode() - u'0');
        }
        const std::int64_t value = negative ? -magnitude : magnitude;
        return static_cast<int>(std::clamp(value, kMin, kMax));
    }

    int CompareCodeUnits(QStringView a, QStringView b)
    {
        const int result = a.compare(b, Qt::CaseSensitive);
        return (result > 0) - (result < 0);
    }

    int CompareNumberAware(QStringView a, QStringView b)
    {
        if (!IsNumberText(a) || !IsNumberText(b))
            return CompareCodeUnits(a, b);
        const int left = ReadLeadingInt(a);
        const int right = ReadLeadingInt(b);
        return (left > right) - (left < right);
    }

} // namespace

int CompareSortTexts(QStringView a, QStringView b, SortMode mode, unsigned ascending)
{
    int result = 0;
    switch (mode) {
    case SortMode::NumberAware:
        result = CompareNumberAware(a, b);
        break;
    default:
        result = CompareCodeUnits(a, b);
        break;
    }
    return ascending != 0 ? result : -result;
}

} // namespace ListCtrlEx
