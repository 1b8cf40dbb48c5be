#include "SortCompare.h"

#include <cstdint>
#include <limits>

namespace ListCtrlEx {

bool IsNumberText(QStringView text)
{
    qsizetype stops = 0;
    for (QChar ch : text) {
        if (ch == QLatin1Char('.'))
            ++stops;
    }
    if (stops > 1)
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('-') && i == 0)
            continue;
        if (ch == QLatin1Char('.'))
            continue;
        if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9'))
            continue;
        return false;
    }
    return true;
}

int ReadLeadingInt(QStringView text)
{
    constexpr std::int64_t kMax = std::numeric_limits<int>::max();
    constexpr std::int64_t kMin = std::numeric_limits<int>::min();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+'))) {
        negative = text[i] == QLatin1Char('-');
        ++i;
    }
    // Accumulated as a magnitude that stops growing once past the range, so a
    // long run of digits cannot overflow.
    std::int64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const QChar ch = text[i];
        if (ch < QLatin1Char('0') || ch > QLatin1Char('9'))
            break;
        if (magnitude <= kMax + 1)
            magnitude = magnitude * 10 + (ch.unicode() - u'0');
    }
    const std::int64_t value = negative ? -magnitude : magnitude;
    if (value > kMax)
        return static_cast<int>(kMax);
    if (value < kMin)
        return static_cast<int>(kMin);
    return static_cast<int>(value);
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

int CompareSortTexts(QStringView a, QStringView b, SortMode mode, unsigned ascending)
{
    const int result = mode == SortMode::NumberAware ? CompareNumberAware(a, b) : CompareCodeUnits(a, b);
    return ascending != 0 ? result : -result;
}

} // namespace ListCtrlEx
