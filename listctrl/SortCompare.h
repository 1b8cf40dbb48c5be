#pragma once

#include "ListTypes.h"

#include <QStringView>

namespace ListCtrlEx {

// One comparison of the header-click sort: -1 puts the first text before the
// second, 0 keeps their order, 1 puts it after. Text compares code unit by
// code unit as unsigned 16-bit values, a prefix first; NumberAware compares by
// value when both texts are numbers (digits, at most one full stop, a leading
// minus sign; the empty text too), read as the integer at their start. The
// result is negated when descending.
int CompareSortTexts(QStringView a, QStringView b, SortMode mode, unsigned ascending);

} // namespace ListCtrlEx
