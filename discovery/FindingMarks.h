#pragma once

#include <QColor>

namespace ListCtrlEx {
class CListCtrlEx;
}

// How the result list marks a camera with findings, so that it stands out by
// more than colour: a warm background on each of its cells and a warning image
// in its first cell, both kept with the row through sorts and inserts.
namespace searchpage {

// Gives the list the warning image and makes its cell marks follow their rows.
// `options` are the list's other option bits.
void PrepareFindingMarks(ListCtrlEx::CListCtrlEx& list, unsigned options);
// Marks the row, or takes its marks away.
void ShowFindingMark(ListCtrlEx::CListCtrlEx& list, int row, bool marked);
// The warm background: the warning colour faint on the list's window colour,
// so that the text keeps its contrast.
QColor FindingBackground(const ListCtrlEx::CListCtrlEx& list);

} // namespace searchpage
