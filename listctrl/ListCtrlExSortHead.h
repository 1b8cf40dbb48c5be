#pragma once

#include <QHeaderView>

namespace ListCtrlEx {

// Column header of CListCtrlEx. Draws each item itself: the text inset by two
// space widths, and on the sort column a small bevelled triangle in the right
// part of the item, pointing down for ascending and up for descending order.
class CListCtrlExSortHead : public QHeaderView {
    Q_OBJECT

public:
    explicit CListCtrlExSortHead(QWidget* parent = nullptr);

    // The column that carries the triangle, -1 for none.
    int SortColumn() const { return m_sortColumn; }
    // -1 shows no sort column.
    void SetSortState(int column, int ascending);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    // s is the width of a space in the drawing font: the unit of every inset.
    QRect TextRect(const QRect& item, int logicalIndex, bool pressed, int s) const;
    void DrawTriangle(QPainter* painter, const QRect& item, int s) const;

    int m_sortColumn = -1;
    int m_sortAscending = 0;
    // The item held down by the mouse, drawn pressed.
    int m_pressedSection = -1;
};

} // namespace ListCtrlEx
