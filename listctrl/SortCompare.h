#pragma once

#include "ListTypes.h"

#include <QStringView>

// Row ordering used by the header-click sort. Results are -1, 0 or 1:
// negative puts the first text before the second.
namespace ListCtrlEx {

// True for texts made only of digits, at most one full stop and a leading
// minus sign; the empty text passes too.
bool IsNumberText(QStringView text);

// The signed 32-bit decimal integer at the start of the text, read up to the
// first character that cannot continue it; 0 when there is none, clamped to
// the 32-bit range.
int ReadLeadingInt(QStringView text);

// Code unit by code unit as unsigned 16-bit values; a prefix sorts first.
int CompareCodeUnits(QStringView a, QStringView b);

// By value when both texts are numbers, otherwise by code units.
int CompareNumberAware(QStringView a, QStringView b);

// One comparison of the row sort: by mode, negated when descending.
int CompareSortTexts(QStringView a, QStringView b, SortMode mode, unsigned ascending);

} // namespace ListCtrlEx
