#include "ListCtrlExSortHead.h"

namespace ListCtrlEx {

CListCtrlExSortHead::CListCtrlExSortHead(QWidget* parent)
    : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setHighlightSections(false);
    setStretchLastSection(false);
    // The list sorts by itself on a header click; Qt's indicator would only
    // disagree with it.
    setSortIndicatorShown(false);
}

void CListCtrlExSortHead::SetSortState(int column, int ascending)
{
    m_sortColumn = column;
    m_sortAscending = ascending;
    viewport()->update();
}

} // namespace ListCtrlEx
