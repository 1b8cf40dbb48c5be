#pragma once

#include <QHeaderView>

namespace ListCtrlEx {

// Column header of CListCtrlEx. It remembers which column the list sorted
// last and in which direction.
class CListCtrlExSortHead : public QHeaderView {
    Q_OBJECT

public:
    explicit CListCtrlExSortHead(QWidget* parent = nullptr);

    int SortColumn() const { return m_sortColumn; }
    int SortAscending() const { return m_sortAscending; }
    // -1 shows no sort column.
    void SetSortState(int column, int ascending);

private:
    int m_sortColumn = -1;
    int m_sortAscending = 0;
};

} // namespace ListCtrlEx
